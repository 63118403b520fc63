// Runs the widget tests offscreen, with every per-user location inside a
// temporary folder.
#include <cstdlib>

#include <QApplication>
#include <gtest/gtest.h>

#include "support/TemporaryHome.h"

int main(int argc, char** argv) {
    QTemporaryDir home;
    if (!UseTemporaryHome(home))
        return 1;
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
