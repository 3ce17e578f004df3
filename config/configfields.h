// The 59 values of the configuration file, in file order, and how each maps onto the
// Configuration record.
#pragma once

#include "config/configuration.h"

#include <QList>
#include <QString>
#include <QVariant>

constexpr int ConfigValueCount = 59;

// The values of one file in file order; an invalid QVariant is an empty (never set) value.
using ConfigValues = QList<QVariant>;

enum class ConfigFieldKind {
    Integer,     // 16-bit integer member, written as bare digits
    Boolean,     // check-box value, written 0 / 1
    TrimmedText, // a single text box: written quoted, trimmed of blanks
    IntegerText, // a 16-bit integer member written as quoted text (LoggingInterval)
    Variant      // kept as read and written as held (pager cells, ports, graph values)
};

struct ConfigField
{
    QString name; // "UploadInterval", "Pagers[2].AlarmSetting", "Graph[4].GraphUploadTime"
    ConfigFieldKind kind;
};

// The 59 fields in file order.
const QList<ConfigField> &configFields();

// The record's values in file order, as held (no trimming).
ConfigValues configValues(const Configuration &config);

// Stores the first values.size() values (at most 59) into `config`, converting each as the
// program applies it. A value that does not convert leaves its target unchanged.
// Returns how many targets took their value.
int applyConfigValues(const ConfigValues &values, Configuration &config);

// The record exactly as saveConfiguration writes it and a later load reads it: single text
// boxes trimmed, date-times to whole seconds (a time alone on the zero date 1899-12-30),
// booleans as 0 / 1 and other numbers as int, long long or double.
Configuration configurationAsSaved(const Configuration &config);

// True when both records hold the same values of the same types.
bool sameConfiguration(const Configuration &a, const Configuration &b);
