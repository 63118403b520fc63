// Runs the console's widget tests on the offscreen platform with every
// per-user location (home, configuration, data, documents, runtime) inside a
// temporary folder, so no test can touch the real profile, key or lock of
// the user running them.
#include <cstdlib>

#include <sys/stat.h>

#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    QTemporaryDir home;
    if (!home.isValid())
        return 1;
    for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_RUNTIME_DIR"})
        ::setenv(name, (home.path() + "/" + name).toLocal8Bit().constData(), 1);
    ::mkdir((home.path() + "/XDG_RUNTIME_DIR").toLocal8Bit().constData(), 0700);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
