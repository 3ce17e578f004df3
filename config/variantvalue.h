// Conversions of configuration variants as the program applies them: empty counts as 0,
// false and the empty text, and numbers (or numeric texts) compare numerically.
#pragma once

#include <QString>
#include <QVariant>
#include <optional>

// The number a variant stands for: empty is 0, a numeric text is its number; nothing for
// other texts, dates and unknown types.
std::optional<double> variantNumber(const QVariant &v);

// A 16-bit integer, rounded half to even as the original conversion does; nothing when the
// value is not a number or lies outside -32768..32767.
std::optional<qint16> variantToInt16(const QVariant &v);

// A boolean: nonzero numbers are true, as are the texts "True" / "False" by their meaning.
std::optional<bool> variantToBool(const QVariant &v);

// The text of a value: empty gives "", numbers their decimal form, a date-time its
// general date.
QString variantToText(const QVariant &v);

// Numeric equality used by the pager and graph rules (Enabled = 1, PageType = 0 ...).
bool variantEquals(const QVariant &v, double n);
