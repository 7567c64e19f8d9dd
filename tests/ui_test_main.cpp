// SPDX-License-Identifier: GPL-3.0-or-later
// The GoogleTest entry of the window tests: one QApplication for all of them.
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char* argv[]) {
    // The build lists the tests by running this binary, where no display need exist.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
