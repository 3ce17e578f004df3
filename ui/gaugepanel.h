// The main window's gauge panel: temperature, wind speed, wind direction and barometer
// dials, each with the caption box under it.
#pragma once

#include "ui/readingbox.h"

#include <QWidget>

class FerrickGauge;
class Quillon1;
class TamselGauge;
class VelmorGauge;
struct GaugeValues;

class GaugePanel : public QWidget
{
    Q_OBJECT
public:
    explicit GaugePanel(QWidget *parent = nullptr);

    // The caption boxes (Text14, Text15, Text21, Text22) and their record fields.
    static const QList<TextBinding> &captionBindings();

    void showReadings(const ReadingsRecord &record);

private:
    void showGauges(const GaugeValues &values);

    BoundTexts m_captions;
    FerrickGauge *m_ferrick;
    TamselGauge *m_tamsel;
    VelmorGauge *m_velmor;
    Quillon1 *m_quillon;
};
