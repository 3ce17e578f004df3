// Readings and alarm thresholds taken as numbers, the way an alarm compares them.
#pragma once

#include <QString>
#include <QVariant>
#include <optional>

// A reading's text as a number: leading and trailing blanks are ignored; empty or
// non-numeric text (a reading not received yet) has none.
std::optional<double> textNumber(const QString &text);

// An alarm threshold as a number: a number as it is, text by the rule above; an empty
// setting has none.
std::optional<double> thresholdNumber(const QVariant &value);
