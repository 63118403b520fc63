// Saves and reloads a profile of 1000 projectors and 50 named groups (20
// members each; one projector in ten keeps an encrypted login), checks that
// the reloaded list equals the saved one, and prints the times. Runs in a
// temporary folder: no real profile or key is touched.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <QFileInfo>
#include <QTemporaryDir>

#include "comm/ProjectorInfo.h"
#include "settings/Groups.h"
#include "settings/ProfileStore.h"
#include "settings/Value.h"

namespace {

constexpr int kProjectors = 1000;
constexpr int kGroups = 50;
constexpr int kMembers = 20;

double MsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

GroupList MakeFleet() {
    GroupList groups;
    groups.push_back(std::make_unique<CGroupItem>("All"));
    for (int i = 0; i < kProjectors; ++i) {
        CProjectorInfo record;
        char text[64];
        std::snprintf(text, sizeof text, "10.%d.%d.%d", i / 65536, i / 256 % 256, i % 256);
        record.ipAddress = text;
        std::snprintf(text, sizeof text, "00:00:5E:00:%02X:%02X", i / 256, i % 256);
        record.macAddress = text;
        record.name = "PJ" + std::to_string(i);
        record.power = 1 + i % 2;
        if (i % 10 == 0) {
            record.rememberCredentials = 1;
            record.userName = "admin";
            record.password = "password" + std::to_string(i);
        }
        groups[0]->AddCopy(record, nullptr);
    }
    for (int g = 0; g < kGroups; ++g) {
        auto group = std::make_unique<CGroupItem2>("Group " + std::to_string(g));
        for (int m = 0; m < kMembers; ++m)
            group->Add(groups[0]->GetAt((g * kMembers + m * 7) % kProjectors));
        groups.push_back(std::move(group));
    }
    return groups;
}

bool SameList(const GroupList& a, const GroupList& b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t g = 0; g < a.size(); ++g) {
        if (a[g]->Name() != b[g]->Name() || a[g]->GetCount() != b[g]->GetCount())
            return false;
        for (int i = 0; i < a[g]->GetCount(); ++i) {
            const CProjectorInfo& x = *a[g]->GetAt(i);
            const CProjectorInfo& y = *b[g]->GetAt(i);
            if (x.name != y.name || x.ipAddress != y.ipAddress || x.macAddress != y.macAddress ||
                x.power != y.power || x.userName != y.userName || x.password != y.password)
                return false;
        }
    }
    return true;
}

}  // namespace

int main() {
    QTemporaryDir dir;
    if (!dir.isValid())
        return 1;
    ::setenv("XDG_DATA_HOME", (dir.path() + "/data").toLocal8Bit().constData(), 1);
    std::string path = dir.path().toStdString() + "/Lumivex.conf";
    GroupList fleet = MakeFleet();

    OpenProfile(path);
    auto start = std::chrono::steady_clock::now();
    int saved = SaveGroups(fleet);
    double saveMs = MsSince(start);

    start = std::chrono::steady_clock::now();
    OpenProfile(path);  // read the file anew
    GroupList loaded;
    int result = LoadGroups(loaded, "All");
    double loadMs = MsSince(start);
    // One value written alone (a tab change) rewrites the whole file.
    start = std::chrono::steady_clock::now();
    CValue().SetSelectGroup(3);
    double oneValueMs = MsSince(start);
    CloseProfile();

    bool same = saved == 0 && result == 0 && SameList(fleet, loaded);
    std::printf("%d projectors, %d groups of %d: save %.1f ms, load %.1f ms, one value %.1f ms, file %lld bytes, %s\n",
                kProjectors, kGroups, kMembers, saveMs, loadMs, oneValueMs,
                static_cast<long long>(QFileInfo(QString::fromStdString(path)).size()), same ? "identical" : "DIFFERENT");
    return same ? 0 : 1;
}
