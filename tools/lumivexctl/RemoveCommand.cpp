// lumivexctl remove: takes one projector out of every group of the profile
// and deletes its record, as the console's delete command does.
#include <cstdio>

#include "BoardAccess.h"
#include "CtlCommand.h"
#include "CtlCommandTable.h"
#include "CtlProfile.h"

namespace {

const char* const kUsage = "remove ADDRESS";

int RunRemoveCommand(CtlContext& context, const CCtlOptions& options) {
    if (options.Positional().size() != 1)
        return UsageError("remove takes exactly one ADDRESS", kUsage);
    const std::string& address = options.Positional()[0];
    if (!IsIPv4Address(address))
        return UsageError("not an IPv4 address: " + address, kUsage);
    auto lock = LockOutConsole();
    if (!lock)
        return EXIT_FAILED;
    GroupList groups;
    if (int rc = LoadCtlGroups(context, groups, true); rc != EXIT_OK)
        return rc;
    CProjectorInfo* record = groups.front()->FindByAddress(address);
    if (!record)
        return Failure("no stored projector has the address " + address);
    // Named groups first: the All group deletes the record.
    for (std::size_t g = groups.size(); g-- > 0;)
        groups[g]->Remove(record);
    if (int rc = SaveCtlGroups(groups); rc != EXIT_OK)
        return rc;
    std::printf("removed %s\n", address.c_str());
    return EXIT_OK;
}

}  // namespace

const CtlCommandEntry kRemoveCommand{
    "remove", RunRemoveCommand, kUsage,
    "Takes one projector out of every group and deletes its stored record. Refused while the console runs.",
    {}};
