#pragma once
// Points every per-user location (home, configuration, data, cache, state,
// runtime, and with home the documents) into folders below a root of the
// caller's, so that nothing a test or fuzz program runs can read or write the
// user's real profile, key file or documents. Used by the test main and the
// fuzz targets' start-up; header-only, so each links it without a library.
#include <cstdlib>

#include <sys/stat.h>

#include <QString>

// Makes the folders below root and sets the variables; false when a folder or
// variable could not be made.
inline bool PointPerUserFoldersInto(const QString& root) {
    const struct {
        const char* variable;
        const char* folder;
    } kLocations[] = {{"HOME", "home"},          {"XDG_CONFIG_HOME", "config"}, {"XDG_DATA_HOME", "data"},
                      {"XDG_CACHE_HOME", "cache"}, {"XDG_STATE_HOME", "state"},   {"XDG_RUNTIME_DIR", "runtime"}};
    for (const auto& location : kLocations) {
        const QByteArray path = (root + "/" + location.folder).toLocal8Bit();
        // The runtime folder must be private or Qt refuses it.
        if (::mkdir(path.constData(), 0700) != 0 || ::setenv(location.variable, path.constData(), 1) != 0)
            return false;
    }
    return true;
}
