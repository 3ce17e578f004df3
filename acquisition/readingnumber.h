// The one way to read a reading's display text back as a number.
#pragma once

#include <QString>
#include <optional>

// What a caller takes from the text.
enum class ReadingNumberForm {
    AsWritten, // the number as written
    Int,       // rounded to a whole number, halves to the even one; none outside int
    Int16,     // the same, none outside -32768..32767 (a 16-bit log column)
};

// A reading's text as a number. Blanks around the number are ignored; a sign, a decimal
// point and an exponent are taken. None for the empty text (no frame yet), "N/A", "---",
// a number followed by a unit ("12.3 MPH"), a decimal comma or digit grouping ("1,5",
// "1,000"), and what no finite double holds ("inf", "nan", "1e999").
std::optional<double> readingNumber(const QString &text,
                                    ReadingNumberForm form = ReadingNumberForm::AsWritten);
