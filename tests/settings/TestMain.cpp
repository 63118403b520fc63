// Runs the settings tests with every per-user location inside a temporary
// folder.
#include <QCoreApplication>
#include <gtest/gtest.h>

#include "support/TemporaryHome.h"

int main(int argc, char** argv) {
    QTemporaryDir home;
    if (!UseTemporaryHome(home))
        return 1;
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
