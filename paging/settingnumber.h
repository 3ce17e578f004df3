// Numbers read from variant settings and from reading texts, the way the pager checks compare them.
#pragma once

#include <QString>
#include <QVariant>
#include <optional>

// A setting compared with a number: empty reads as 0, a number or numeric text as its
// value; any other text has no number.
std::optional<double> settingNumber(const QVariant &value);

// True when the setting holds exactly `n` under the rule above.
bool settingIs(const QVariant &value, int n);

// A text converted to a number (a reading, an alarm threshold): leading and trailing
// blanks are ignored; empty or non-numeric text has no number.
std::optional<double> textNumber(const QString &text);
