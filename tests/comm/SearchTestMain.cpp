// The main of the search tests: an event loop for the engine, and a profile
// of this run's own so the user's settings never steer a test.
#include <QCoreApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "settings/ProfileStore.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    QTemporaryDir profileDir;
    OpenProfile(profileDir.filePath(QStringLiteral("Lumivex.conf")).toStdString());
    const int result = RUN_ALL_TESTS();
    CloseProfile();
    return result;
}
