// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "protocol/controls.h"

class QWidget;

namespace kuvar::modules {

struct TAcPage;
struct TGyPage;

// The page widget that the link logic knows as `control`; null for a control outside the pages
// (the manual send lines belong to the window).
QWidget* PageControl(const TAcPage& ac, const TGyPage& gy, protocol::Control control);

} // namespace kuvar::modules
