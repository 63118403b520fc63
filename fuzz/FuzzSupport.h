#pragma once
// What the fuzz targets share: their start-up (every per-user folder inside a
// temporary folder of the run, and a key file with fixed bytes, so that the
// passwords stored in the seeds decrypt), a fresh profile store for each
// input, and the check that turns a broken promise of a reader into a crash
// that libFuzzer reports and keeps.
#include <string>

class CProfileStore;

// Ends the run with a message naming what does not hold.
void FuzzCheck(bool holds, const char* what);

// The application's store, opened on a profile file of the run that holds
// nothing yet, in a folder of its own that holds nothing else.
CProfileStore& FreshProfile();
// That profile file.
const std::string& FuzzProfilePath();
