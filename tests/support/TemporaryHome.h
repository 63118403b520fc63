#pragma once
// Points every per-user location a test program could reach (HOME and the
// XDG configuration, data and runtime folders) into a temporary folder, so
// that no test can touch the real profile or key of the user running them.
#include <cstdlib>

#include <sys/stat.h>

#include <QTemporaryDir>

// False when the temporary folder could not be made.
inline bool UseTemporaryHome(const QTemporaryDir& home) {
    if (!home.isValid())
        return false;
    for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_RUNTIME_DIR"})
        ::setenv(name, (home.path() + "/" + name).toLocal8Bit().constData(), 1);
    ::mkdir((home.path() + "/XDG_RUNTIME_DIR").toLocal8Bit().constData(), 0700);
    return true;
}
