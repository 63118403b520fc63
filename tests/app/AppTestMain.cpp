// Runs the console's widget tests on the offscreen platform with every
// per-user location in a temporary folder, so no test can touch the real
// profile, key or lock of the user running them.
#include <cstdlib>

#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "support/TemporaryHome.h"

int main(int argc, char** argv) {
    QTemporaryDir home;
    if (!UseTemporaryHome(home))
        return 1;
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
