// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>

#include <vector>

class QWidget;

namespace kuvar {

// The order in which a reader takes the rectangles (as indexes): bands of rectangles whose
// heights overlap, directly or through others, from the top band down; within a band from left
// to right, and from top to bottom where two start at the same x.
std::vector<int> ReadingOrder(const std::vector<QRect>& rects);

// The controls that Tab reaches inside container, in reading order. A child that takes no focus
// itself but holds such controls (a chart with its range boxes) is read as one at its place.
std::vector<QWidget*> TabControlsIn(QWidget* container);
// The given controls, all children of one parent, in reading order.
std::vector<QWidget*> InReadingOrder(const std::vector<QWidget*>& controls);
// Tab goes through the controls in this order.
void SetTabChain(const std::vector<QWidget*>& chain);

} // namespace kuvar
