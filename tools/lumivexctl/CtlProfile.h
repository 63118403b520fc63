#pragma once
// The profile store as lumivexctl's list, import and remove commands use it:
// the store the global --profile option selects (else the console's), its
// groups, and the console's lock around the commands that write.
#include <memory>
#include <string>

#include <QLockFile>

#include "CtlCommand.h"
#include "settings/Groups.h"

// Opens the selected store and loads its groups. EXIT_OK, or EXIT_FAILED
// after a message (an explicit --profile that does not exist, when
// mustExist, or a stored projector that cannot be read).
int LoadCtlGroups(const CtlContext& context, GroupList& groups, bool mustExist);

// The console's single-instance lock, held while a command writes; null
// after a message when the console runs (it would overwrite the change when
// it saves at shutdown).
std::unique_ptr<QLockFile> LockOutConsole();

// Saves groups into the open store. EXIT_OK, or EXIT_FAILED after a message.
int SaveCtlGroups(const GroupList& groups);
