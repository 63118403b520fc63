#pragma once
// Makes a rename or a new file in a folder survive a power loss: the folder's
// entry list is flushed to disk. Used after atomic replacements.
#include <string>

void SyncFolder(const std::string& folder);
