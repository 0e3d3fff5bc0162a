// SPDX-License-Identifier: GPL-3.0-or-later
// Test main for window tests: offscreen unless a platform is chosen (ctest's test discovery runs
// the binary without the test environment), a QApplication, the font substitutions, the modal
// guard, then GoogleTest.

#include "print/fonts.h"
#include "support/modalguard.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    tovanel::InstallFontSubstitutions();
    tovanel::test::InstallModalGuard();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
