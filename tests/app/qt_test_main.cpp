// SPDX-License-Identifier: GPL-3.0-or-later
// Runs the tests inside a QApplication on the offscreen platform, as the window needs one.
#include "app/app_exception.h"

#include <gtest/gtest.h>

using namespace kuvar;

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    TKuvarApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
