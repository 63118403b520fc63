#pragma once
// The profile store as lumivexctl's commands use it: the store the global
// --profile option selects (else the console's), its groups, the settings the
// console hands its engine, and the console's lock around the commands that
// write.
#include <memory>
#include <string>

#include <QLockFile>

#include "CtlCommand.h"
#include "settings/Groups.h"

class CCommWnd;

// --ports of the commands that run the engine as the console does.
constexpr CtlOption kProfilePortsOption{"--ports", "LO-HI",
                                        "local ports to bind in turn (default: the profile's client data ports)"};

// The engine settings the console's view takes from the profile.
struct CtlEngineSettings {
    int portStart = 0;  // client data port range; 0 and 0: no binding
    int portEnd = 0;
    int powerOnSpacing = 0;  // seconds between a group's power-ons; 0: all at once

    void ApplyTo(CCommWnd& engine) const;
};

// Opens the selected store. EXIT_OK, or EXIT_FAILED after a message when an
// explicit --profile does not exist and mustExist.
int OpenCtlProfile(const CtlContext& context, bool mustExist);

// From the open store, as the console's view reads them: the client port
// range (ClientDataPortStart, ClientDataPortEnd), or --ports when given; and
// the power-on spacing (NextPowerOnTime while PowerOnMoving is on), or
// --spacing when given. EXIT_OK, or after a message EXIT_USAGE for a bad
// option or EXIT_FAILED for a stored value the engine cannot use.
int ReadCtlPortRange(const CCtlOptions& options, const char* usage, CtlEngineSettings& settings);
int ReadCtlPowerOnSpacing(const CCtlOptions& options, const char* usage, CtlEngineSettings& settings);

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
