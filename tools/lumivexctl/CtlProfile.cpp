#include "CtlProfile.h"

#include <algorithm>
#include <cstdio>

#include <QFileInfo>

#include "BoardAccess.h"
#include "comm/CommWnd.h"
#include "platform/InstanceLock.h"
#include "platform/ResourceText.h"
#include "settings/CommSetInfo.h"
#include "settings/GeneralSetInfo.h"
#include "settings/ProfileStore.h"

namespace {

constexpr int kAllGroupTextId = 300;
constexpr int kHighestPort = 65535;
constexpr int kLongestSpacingSeconds = 99999;

bool IsPort(int value) { return value >= 0 && value <= kHighestPort; }

}  // namespace

void CtlEngineSettings::ApplyTo(CCommWnd& engine) const {
    engine.SetPortRange(portStart, portEnd);
    engine.SetPowerOnSpacing(powerOnSpacing);
}

int OpenCtlProfile(const CtlContext& context, bool mustExist) {
    if (mustExist && !context.profilePath.empty() && !QFileInfo::exists(QString::fromStdString(context.profilePath)))
        return Failure("no profile at " + context.profilePath);
    OpenProfile(context.profilePath);
    return EXIT_OK;
}

int ReadCtlPortRange(const CCtlOptions& options, const char* usage, CtlEngineSettings& settings) {
    if (auto text = options.Value("--ports")) {
        if (!ParsePortRange(*text, settings.portStart, settings.portEnd))
            return UsageError("--ports wants LO-HI with ports 0..65535, not '" + *text + "'", usage);
        return EXIT_OK;
    }
    CCommSetInfo comm;
    comm.Load();
    // The engine would bind only the low 16 bits of a larger number: some
    // unrelated port.
    if (!IsPort(comm.clientDataPortStart) || !IsPort(comm.clientDataPortEnd))
        return Failure(CurrentProfile().Path() + ": the client port range ClientDataPortStart..ClientDataPortEnd (" +
                       std::to_string(comm.clientDataPortStart) + ".." + std::to_string(comm.clientDataPortEnd) +
                       ") is not within 0..65535; give --ports LO-HI");
    settings.portStart = comm.clientDataPortStart;
    settings.portEnd = comm.clientDataPortEnd;
    return EXIT_OK;
}

int ReadCtlPowerOnSpacing(const CCtlOptions& options, const char* usage, CtlEngineSettings& settings) {
    if (auto text = options.Value("--spacing")) {
        if (!ParseWholeNumber(*text, 0, kLongestSpacingSeconds, settings.powerOnSpacing))
            return UsageError("--spacing wants whole seconds from 0 to 99999", usage);
        return EXIT_OK;
    }
    CGeneralSetInfo general;
    general.Load();
    const int spacing = general.powerOnMoving ? general.nextPowerOnTime : 0;
    if (spacing > kLongestSpacingSeconds)
        return Failure(CurrentProfile().Path() + ": the power-on spacing NextPowerOnTime (" + std::to_string(spacing) +
                       " s) is longer than 99999 s; give --spacing SECONDS");
    settings.powerOnSpacing = std::max(spacing, 0);  // the engine powers on all at once at 0 or less
    return EXIT_OK;
}

int LoadCtlGroups(const CtlContext& context, GroupList& groups, bool mustExist) {
    if (int rc = OpenCtlProfile(context, mustExist); rc != EXIT_OK)
        return rc;
    CProfileStore& store = CurrentProfile();
    std::string error;
    if (LoadGroups(groups, ResourceText(kAllGroupTextId), &error) != 0)
        return Failure(store.Path() + ": " + error + "; nothing was changed");
    return EXIT_OK;
}

std::unique_ptr<QLockFile> LockOutConsole() {
    bool console = false;
    std::unique_ptr<QLockFile> lock = AcquireInstanceLock(InstanceLockPath(), &console);
    if (!lock && console)
        Failure("the console is running (it holds " + InstanceLockPath() +
                "); close it first, or it will overwrite the change when it exits");
    else if (!lock)
        Failure("cannot take the lock " + InstanceLockPath());
    return lock;
}

int SaveCtlGroups(const GroupList& groups) {
    CProfileStore& store = CurrentProfile();
    if (SaveGroups(groups) != 0)
        return Failure("cannot write " + store.Path() + "; it is unchanged");
    if (!store.DamagedCopyPath().empty())
        std::fprintf(stderr, "lumivexctl: the profile could not be fully read; the original is kept at %s\n",
                     store.DamagedCopyPath().c_str());
    return EXIT_OK;
}
