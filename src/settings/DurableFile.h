#pragma once
// Files that survive a crash or a power loss: whole reads and writes of a
// descriptor, the atomic replacement of a file, and the flush of a folder's
// entry list after a rename or a new file in it.
#include <cstddef>
#include <string>
#include <string_view>

#include <sys/types.h>

// Exactly n bytes, retrying after interruptions; false on an error or an
// early end of the file.
bool ReadAll(int fd, void* out, std::size_t n);
bool WriteAll(int fd, const void* in, std::size_t n);
// Appends what is left of the file to out.
bool ReadToEnd(int fd, std::string& out);

void SyncFolder(const std::string& folder);

// Replaces the file at path with bytes, so that an interruption leaves the
// old file or the new one, never a mixture: the bytes go to a new file beside
// it, are read back and compared (a full disk may take less than it says),
// flushed to disk and given mode; the new file is then renamed over path and
// the folder flushed. Returns a descriptor of the new file open for reading
// (the caller closes it), or -1 with path as it was.
int ReplaceFile(const std::string& path, std::string_view bytes, mode_t mode);
