// The main of every test program: a Qt application object for the event
// loops, timers and posted messages under test, and every per-user location
// (home, configuration, data, cache, state, runtime, documents) inside a
// temporary folder of this run, so that no test and no program a test starts
// can read or write the user's real profile, key file or documents.
#include <string>

#include <QCoreApplication>
#ifdef LUMIVEX_TEST_WIDGETS
#include <QApplication>
#endif
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "support/PerUserFolders.h"

namespace {

// Made before anything that may write below it and removed after everything
// else at exit, the application's profile store included.
QTemporaryDir& TestRoot() {
    static QTemporaryDir root;
    return root;
}

// Registered under the program's name: every test program checks its own
// folders, and the test names stay unique across programs.
class PerUserLocationsTest : public ::testing::Test {
public:
    void TestBody() override {
        const QString root = TestRoot().path() + "/";
        for (auto location : {QStandardPaths::HomeLocation, QStandardPaths::GenericConfigLocation,
                              QStandardPaths::GenericDataLocation, QStandardPaths::GenericCacheLocation,
                              QStandardPaths::DocumentsLocation, QStandardPaths::RuntimeLocation}) {
            QString path = QStandardPaths::writableLocation(location);
            EXPECT_TRUE(path.startsWith(root)) << path.toStdString() << " is outside " << root.toStdString();
        }
    }
};

void RegisterPerUserLocationsTest(const char* program) {
    std::string suite = QFileInfo(QString::fromLocal8Bit(program)).fileName().toStdString();
    ::testing::RegisterTest(suite.c_str(), "EveryPerUserLocationLiesInsideTheRunsTemporaryFolder", nullptr, nullptr,
                            __FILE__, __LINE__, []() -> ::testing::Test* { return new PerUserLocationsTest; });
}

}  // namespace

int main(int argc, char** argv) {
    if (!TestRoot().isValid() || !PointPerUserFoldersInto(TestRoot().path()))
        return 1;
#ifdef LUMIVEX_TEST_WIDGETS
    // Widget tests draw on the offscreen platform unless told otherwise.
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
#else
    QCoreApplication app(argc, argv);
#endif
    ::testing::InitGoogleTest(&argc, argv);
    RegisterPerUserLocationsTest(argv[0]);
    return RUN_ALL_TESTS();
}
