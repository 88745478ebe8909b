// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <string>

namespace kuvar::modules {

// The line and the settings file carry code page 949; the window works in Unicode. The
// protocol layer's own texts (questions, messages) are UTF-8.
std::string ToWire(const QString& text);
QString FromWire(const std::string& bytes);
// A text that joins the protocol's UTF-8 words with control texts in code page 949.
QString FromMixed(const std::string& bytes);

} // namespace kuvar::modules
