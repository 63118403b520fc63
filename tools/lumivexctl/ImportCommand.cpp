// lumivexctl import: adds the addresses of a file to the All group of the
// profile, skipping known ones; a file with any bad line changes nothing.
#include <cstdio>

#include "AddressFile.h"
#include "CtlCommand.h"
#include "CtlCommandTable.h"
#include "CtlProfile.h"
#include "comm/ProjectorInfo.h"

namespace {

const char* const kUsage = "import FILE";

int RunImportCommand(CtlContext& context, const CCtlOptions& options) {
    if (options.Positional().size() != 1)
        return UsageError("import takes exactly one FILE", kUsage);
    const std::string& file = options.Positional()[0];
    std::vector<std::string> addresses, errors;
    if (!ReadAddressFile(file, addresses, errors)) {
        for (const std::string& error : errors)
            std::fprintf(stderr, "lumivexctl: %s: %s\n", file.c_str(), error.c_str());
        return Failure("nothing was imported");
    }
    auto lock = LockOutConsole();
    if (!lock)
        return EXIT_FAILED;
    GroupList groups;
    if (int rc = LoadCtlGroups(context, groups, false); rc != EXIT_OK)
        return rc;
    CGroupItem& all = *groups.front();
    int added = 0;
    for (const std::string& address : addresses) {
        if (all.FindByAddress(address))
            continue;
        CProjectorInfo record;
        record.ipAddress = address;
        if (all.AddCopy(record, nullptr) != 0)
            return Failure("out of memory; nothing was imported");
        ++added;
    }
    if (added > 0)
        if (int rc = SaveCtlGroups(groups); rc != EXIT_OK)
            return rc;
    std::printf("added %d, already known %d\n", added, int(addresses.size()) - added);
    return EXIT_OK;
}

}  // namespace

const CtlCommandEntry kImportCommand{
    "import", RunImportCommand, kUsage,
    "Adds the addresses of FILE (one IPv4 address a line) to the stored projectors, skipping known ones;\n"
    "a file with any bad line changes nothing. Refused while the console runs.",
    {}};
