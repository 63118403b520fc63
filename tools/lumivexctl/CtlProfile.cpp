#include "CtlProfile.h"

#include <cstdio>

#include <QFileInfo>

#include "platform/InstanceLock.h"
#include "platform/ResourceText.h"
#include "settings/ProfileStore.h"

namespace {

constexpr int kAllGroupTextId = 300;

}  // namespace

int LoadCtlGroups(const CtlContext& context, GroupList& groups, bool mustExist) {
    if (mustExist && !context.profilePath.empty() && !QFileInfo::exists(QString::fromStdString(context.profilePath)))
        return Failure("no profile at " + context.profilePath);
    CProfileStore& store = OpenProfile(context.profilePath);
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
