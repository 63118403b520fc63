#include "support/PerUserFolders.h"

#include <cstdlib>

#include <sys/stat.h>

namespace {

bool MakeFolder(const QString& path, mode_t mode) {
    return ::mkdir(path.toLocal8Bit().constData(), mode) == 0;
}

}  // namespace

bool PointPerUserFoldersInto(const QString& root) {
    const struct {
        const char* variable;
        const char* folder;
    } kLocations[] = {{"HOME", "home"},          {"XDG_CONFIG_HOME", "config"}, {"XDG_DATA_HOME", "data"},
                      {"XDG_CACHE_HOME", "cache"}, {"XDG_STATE_HOME", "state"},   {"XDG_RUNTIME_DIR", "runtime"}};
    for (const auto& location : kLocations) {
        QString path = root + "/" + location.folder;
        // The runtime folder must be private or Qt refuses it.
        if (!MakeFolder(path, 0700) || ::setenv(location.variable, path.toLocal8Bit().constData(), 1) != 0)
            return false;
    }
    return true;
}
