// console_e2e_seed: writes a profile store holding projectors and named
// groups, as an operator's console would have left it, for the end-to-end
// tests of the real program.
//   console_e2e_seed PROFILE ADDRESS... [--group NAME=INDEX,INDEX...]...
//                    [--int NAME=NUMBER]... [--text NAME=TEXT]...
// INDEX counts the addresses from 0; --int and --text set values of the
// "Settings" section.
#include <cstdio>
#include <memory>
#include <string>

#include <QCoreApplication>

#include "settings/Groups.h"
#include "settings/ProfileStore.h"
#include "settings/TextTools.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fputs("usage: console_e2e_seed PROFILE ADDRESS... [--group NAME=INDEX,...]... [--int NAME=NUMBER]..."
                   " [--text NAME=TEXT]...\n",
                   stderr);
        return 2;
    }
    OpenProfile(argv[1]);
    GroupList groups;
    groups.push_back(std::make_unique<CGroupItem>("All"));
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        if ((arg == "--int" || arg == "--text") && i + 1 < argc) {
            const std::string setting = argv[++i];
            const auto equals = setting.find('=');
            const std::string name = setting.substr(0, equals);
            const std::string value = equals == std::string::npos ? "" : setting.substr(equals + 1);
            const bool written = arg == "--int" ? CurrentProfile().WriteInt("Settings", name, LeadingInt(value))
                                                : CurrentProfile().WriteText("Settings", name, value);
            if (!written)
                return 1;
            continue;
        }
        if (arg == "--group" && i + 1 < argc) {
            const std::string entry = argv[++i];
            const auto equals = entry.find('=');
            auto group = std::make_unique<CGroupItem2>(entry.substr(0, equals));
            std::string indexes = equals == std::string::npos ? "" : entry.substr(equals + 1);
            int position = 0;
            for (std::string field; !(field = NextToken(indexes, ",", position)).empty();)
                if (CProjectorInfo* member = groups[0]->GetAt(LeadingInt(field)))
                    group->Add(member);
            groups.push_back(std::move(group));
            continue;
        }
        if ((arg == "--int" || arg == "--text") && i + 1 < argc) {
            const std::string setting = argv[++i];
            const auto equals = setting.find('=');
            const std::string name = setting.substr(0, equals);
            const std::string value = equals == std::string::npos ? "" : setting.substr(equals + 1);
            if (arg == "--int")
                CurrentProfile().WriteInt("Settings", name, LeadingInt(value));
            else
                CurrentProfile().WriteText("Settings", name, value);
            continue;
        }
        CProjectorInfo record;
        record.ipAddress = arg;
        groups[0]->AddCopy(record, nullptr);
    }
    const int rc = SaveGroups(groups);
    CloseProfile();
    return rc == 0 ? 0 : 1;
}
