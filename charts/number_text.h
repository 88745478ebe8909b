// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <stdexcept>

namespace kuvar::charts {

// Raised by the strict reading of a box text as a floating-point number.
class ENumberTextError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A decimal 32-bit integer with optional surrounding blanks, or fallback for anything else.
int IntFromText(const QString& text, int fallback);

// A decimal floating-point number (sign, digits, one '.', exponent) with optional surrounding
// blanks; throws "'<text>' is not a valid floating point value" for anything else.
double FloatFromText(const QString& text);

// As FloatFromText, but fallback instead of the error.
double FloatFromTextOr(const QString& text, double fallback);

} // namespace kuvar::charts
