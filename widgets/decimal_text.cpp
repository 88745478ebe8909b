// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/decimal_text.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace kuvar {

std::string FixedDecimal(double value, int decimals, char sep) {
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value < 0 ? "-INF" : "INF";
    if (decimals < 0)
        decimals = 0;
    if (decimals > 30)
        decimals = 30;
    const bool negative = std::signbit(value);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.17e", std::fabs(value));
    // buf: d.ddddddddddddddddde[+-]xx
    std::string mant;
    mant += buf[0];
    int i = 2;
    while (buf[i] != 'e')
        mant += buf[i++];
    const int exp10 = std::atoi(buf + i + 1);
    // Digits of the integer part are mant[0..exp10], fraction follows.
    // Work on a digit string with the point after position `intLen`.
    std::string digits;
    int intLen;
    if (exp10 >= 0) {
        digits = mant;
        intLen = exp10 + 1;
        while (static_cast<int>(digits.size()) < intLen)
            digits += '0';
    } else {
        digits = std::string(static_cast<size_t>(-exp10), '0') + mant;
        intLen = 1;
    }
    const int keep = intLen + decimals;
    while (static_cast<int>(digits.size()) <= keep)
        digits += '0';
    const bool roundUp = digits[static_cast<size_t>(keep)] >= '5';
    digits.resize(static_cast<size_t>(keep));
    if (roundUp) {
        int k = keep - 1;
        while (k >= 0) {
            if (digits[static_cast<size_t>(k)] == '9') {
                digits[static_cast<size_t>(k)] = '0';
                --k;
            } else {
                ++digits[static_cast<size_t>(k)];
                break;
            }
        }
        if (k < 0) {
            digits.insert(digits.begin(), '1');
            ++intLen;
        }
    }
    std::string intPart = digits.substr(0, static_cast<size_t>(intLen));
    size_t nz = intPart.find_first_not_of('0');
    intPart = nz == std::string::npos ? "0" : intPart.substr(nz);
    const std::string frac = digits.substr(static_cast<size_t>(intLen));
    const bool allZero = digits.find_first_not_of('0') == std::string::npos;
    std::string out;
    if (negative && !allZero)
        out += '-';
    out += intPart;
    if (decimals > 0) {
        out += sep;
        out += frac;
    }
    return out;
}

} // namespace kuvar
