#pragma once
// The console's single-instance lock: a lock file in the user's runtime
// directory. The console holds it while it runs; lumivexctl takes it around
// the commands that write the profile store, which the console would
// overwrite when it saves at shutdown.
#include <memory>
#include <string>

class QLockFile;

// $XDG_RUNTIME_DIR/TARNEL-Lumivex.lock
std::string InstanceLockPath();

// The held lock, or null when another live process holds it (heldByOther
// then becomes true) or the lock file cannot be made. Released when the
// returned object goes.
std::unique_ptr<QLockFile> AcquireInstanceLock(const std::string& path = InstanceLockPath(),
                                               bool* heldByOther = nullptr);
