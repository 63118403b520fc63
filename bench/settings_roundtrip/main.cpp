// Saves and reloads a profile of 1000 projectors and 50 named groups (20
// members each; one projector in ten keeps an encrypted login), checks that
// the reloaded list equals the saved one, then measures what the console
// does most: writing one changed value (a tab click) and one unchanged value,
// and reading a value that another process has just written. Prints the times
// and fails when a check fails or one changed value takes more than 30 ms at
// the median. Runs in a temporary folder: no real profile or key is touched.
//
// Usage: bench_settings_roundtrip [--writes N]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <spawn.h>
#include <sys/wait.h>

#include <QFileInfo>
#include <QTemporaryDir>

#include "comm/ProjectorInfo.h"
#include "settings/Groups.h"
#include "settings/ProfileStore.h"
#include "settings/Value.h"

extern char** environ;

namespace {

constexpr int kProjectors = 1000;
constexpr int kGroups = 50;
constexpr int kMembers = 20;
constexpr double kOneValueTargetMs = 30.0;
constexpr const char* kChildOption = "--write-select-group";

double MsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
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

// The other process: this program again, writing one value into the profile.
bool WriteFromAnotherProcess(const std::string& path, int selectGroup) {
    std::string value = std::to_string(selectGroup);
    char* args[] = {const_cast<char*>("bench_settings_roundtrip"), const_cast<char*>(kChildOption),
                    const_cast<char*>(path.c_str()), value.data(), nullptr};
    pid_t child = 0;
    int status = 0;
    return ::posix_spawn(&child, "/proc/self/exe", nullptr, nullptr, args, environ) == 0 &&
           ::waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

int RunChild(const std::string& path, int selectGroup) {
    CProfileStore& store = OpenProfile(path);
    CValue(store).SetSelectGroup(selectGroup);
    bool ok = store.Flush();
    CloseProfile();
    return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], kChildOption) == 0)
        return RunChild(argv[2], std::atoi(argv[3]));
    int writes = 31;
    if (argc == 3 && std::strcmp(argv[1], "--writes") == 0)
        writes = std::max(1, std::atoi(argv[2]));

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
    bool same = saved == 0 && result == 0 && SameList(fleet, loaded);

    // A tab click: one changed value, alone.
    CValue value;
    std::vector<double> changed, unchanged;
    for (int i = 0; i < writes; ++i) {
        start = std::chrono::steady_clock::now();
        value.SetSelectGroup(1 + i % kGroups);
        changed.push_back(MsSince(start));
        start = std::chrono::steady_clock::now();
        value.SetSelectGroup(1 + i % kGroups);
        unchanged.push_back(MsSince(start));
    }

    // Another process writes; the next read here must see it, and the next
    // write here must keep it.
    bool childOk = WriteFromAnotherProcess(path, 77);
    start = std::chrono::steady_clock::now();
    int seen = value.GetSelectGroup();
    double readAfterOtherMs = MsSince(start);
    value.SetListSort(3);
    bool kept = CValue(OpenProfile(path)).GetSelectGroup() == 77;
    CloseProfile();

    double oneValueMs = Median(changed);
    bool seesOther = childOk && seen == 77 && kept;
    std::printf("%d projectors, %d groups of %d, file %lld bytes: save %.1f ms, load %.1f ms, %s\n", kProjectors,
                kGroups, kMembers, static_cast<long long>(QFileInfo(QString::fromStdString(path)).size()), saveMs,
                loadMs, same ? "identical" : "DIFFERENT");
    std::printf("one changed value: median %.1f ms, max %.1f ms over %d writes (target <= %.0f ms)\n", oneValueMs,
                *std::max_element(changed.begin(), changed.end()), writes, kOneValueTargetMs);
    std::printf("one unchanged value: median %.3f ms\n", Median(unchanged));
    std::printf("read after another process's write: %.1f ms, %s\n", readAfterOtherMs,
                seesOther ? "sees and keeps its value" : "DOES NOT see or keep its value");
    return same && seesOther && oneValueMs <= kOneValueTargetMs ? 0 : 1;
}
