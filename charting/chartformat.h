// The chart format file: every style and setting of a chart as versioned JSON.
#pragma once

#include "charting/chartsettings.h"

#include <QByteArray>

constexpr int ChartFormatVersion = 1;

QByteArray chartFormatToJson(const ChartSettings &settings);

// Reads the whole file into *settings, or leaves it untouched and says why: the text is
// not a chart format, a value is missing or out of range, or a newer version wrote it.
bool chartFormatFromJson(const QByteArray &json, ChartSettings *settings, QString *error);
