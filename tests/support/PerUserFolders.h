#pragma once
// Points every per-user location (home, configuration, data, cache, state,
// runtime, and with home the documents) into folders below a root of the
// caller's, so that nothing a test or fuzz program runs can read or write the
// user's real profile, key file or documents. Used by the test main and the
// fuzz targets' start-up.
#include <QString>

// Makes the folders below root and sets the variables; false when a folder or
// variable could not be made.
bool PointPerUserFoldersInto(const QString& root);
