// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace kuvar {

// Fixed notation with `decimals` digits, rounded half away from zero on the value's
// 18-significant-digit decimal form; a value that rounds to zero carries no sign.
// Non-finite values give "NAN", "INF" or "-INF".
std::string FixedDecimal(double value, int decimals, char sep = '.');

} // namespace kuvar
