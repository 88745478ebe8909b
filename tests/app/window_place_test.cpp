// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/window_place.h"

#include <gtest/gtest.h>

using namespace kuvar;

// The frame, the client grown by its margins, always ends up inside the available area: moved
// in where it sticks out, shrunk where it is larger.
TEST(WindowPlace, TheFrameIsMovedAndShrunkIntoTheAvailableArea) {
    const QRect screen(0, 0, 1920, 1040);
    const QMargins frame(4, 30, 4, 4);
    const struct {
        const char* what;
        QRect client, available, expected;
    } cases[] = {
        {"fits: stays", {100, 100, 1133, 700}, screen, {100, 100, 1133, 700}},
        {"off the left and top", {-174, -162, 1133, 700}, screen, {4, 30, 1133, 700}},
        {"off the right and bottom", {1500, 900, 1133, 700}, screen, {783, 336, 1133, 700}},
        {"scale factor 2 on 1920 x 1080",
         {-174, -162, 1133, 700},
         {0, 0, 960, 520},
         {4, 30, 952, 486}},
        {"a panel on the left", {0, 0, 800, 600}, {48, 0, 1872, 1040}, {52, 30, 800, 600}},
        {"a second screen", {2000, 100, 1133, 700}, {1920, 0, 1280, 1024}, {2000, 100, 1133, 700}},
        {"a tiny screen", {0, 0, 1133, 700}, {0, 0, 6, 30}, {4, 30, 1, 1}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FitClientInto(c.client, frame, c.available), c.expected) << c.what;
    EXPECT_EQ(FitClientInto(QRect(-50, 10, 300, 200), QMargins(), QRect(0, 0, 800, 600)),
              QRect(0, 10, 300, 200));
}
