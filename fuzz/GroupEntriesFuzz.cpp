// The stored projector list and named groups as the console loads them at
// start-up: the All section's records, and each named group's cumulative
// entries (value m repeats the entries of values 0..m-1) with one read
// position carried across the values. The input writes the profile: records
// from fields or raw bytes, named groups whose values are the proper
// cumulative form, raw bytes or missing, with counts that may lie. What loads
// must then save and load back the same.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include <fuzzer/FuzzedDataProvider.h>

#include "FuzzSupport.h"
#include "StoredValues.h"
#include "comm/ProjectorInfo.h"
#include "settings/Groups.h"
#include "settings/IniDocument.h"
#include "settings/ProfileStore.h"
#include "settings/ProjectorStoredForm.h"
#include "settings/SettingsDefs.h"
#include "settings/Value.h"

namespace {

constexpr int kMaxRecords = 6;
constexpr int kMaxGroups = 3;
constexpr std::size_t kMaxText = 24;

CProjectorInfo RecordFrom(FuzzedDataProvider& input) {
    CProjectorInfo r;
    r.name = input.ConsumeRandomLengthString(kMaxText);
    r.ipAddress = input.ConsumeRandomLengthString(kMaxText);
    r.macAddress = input.ConsumeRandomLengthString(kMaxText);
    r.power = input.ConsumeIntegral<std::int32_t>();
    r.rememberCredentials = input.ConsumeBool() ? 1 : 0;
    if (r.rememberCredentials) {
        r.userName = input.ConsumeRandomLengthString(kMaxText);
        r.password = input.ConsumeRandomLengthString(kMaxText);
    }
    return r;
}

// A record's stored form, or bytes that may be one.
CBinary StoredFrom(FuzzedDataProvider& input) {
    if (input.ConsumeBool())
        return CBinary(input.ConsumeRandomLengthString(4 * kMaxText));
    CBinary bytes;
    SaveTo(RecordFrom(input), bytes);
    return bytes;
}

// A count as written, or one a damaged profile may hold instead.
int CountFrom(FuzzedDataProvider& input, int written) {
    return input.ConsumeBool() ? written : input.ConsumeIntegral<std::int32_t>();
}

void WriteAll(FuzzedDataProvider& input, CValue& value) {
    const int records = input.ConsumeIntegralInRange(0, kMaxRecords);
    for (int m = 0; m < records; ++m)
        value.SetProjector(ALL_GROUP_INDEX, m, StoredFrom(input));
    value.SetProjectorCount(ALL_GROUP_INDEX, CountFrom(input, records));
}

void WriteGroup(FuzzedDataProvider& input, CValue& value, int n) {
    const std::string name = input.ConsumeRandomLengthString(kMaxText);
    if (input.ConsumeBool())
        value.SetGroupName(n, name);
    const int members = input.ConsumeIntegralInRange(0, kMaxRecords);
    CBinary entries;
    for (int m = 0; m < members; ++m) {
        switch (input.ConsumeIntegralInRange(0, 2)) {
        case 0:
            entries.AppendText(name);
            entries.AppendBlock(StoredFrom(input));
            value.SetProjector(n, m, entries);
            break;
        case 1:
            value.SetProjector(n, m, CBinary(input.ConsumeRandomLengthString(8 * kMaxText)));
            break;
        default:
            break;  // missing
        }
    }
    value.SetProjectorCount(n, CountFrom(input, members));
}

void CheckMembership(const GroupList& groups) {
    const CGroupItem& all = *groups.front();
    for (std::size_t g = 1; g < groups.size(); ++g)
        for (int m = 0; m < groups[g]->GetCount(); ++m)
            FuzzCheck(all.Contains(groups[g]->GetAt(m)), "a named group's members belong to the All group");
}

void CheckSameLists(const GroupList& a, const GroupList& b) {
    FuzzCheck(a.size() == b.size(), "the same number of groups loads back");
    for (std::size_t g = 0; g < a.size(); ++g) {
        FuzzCheck(a[g]->GetCount() == b[g]->GetCount(), "each group loads back with as many members");
        // The profile holds texts as UTF-8, so a name taken from an entry's
        // bytes is stored with its invalid sequences replaced, as every text.
        FuzzCheck(g == 0 || CIniDocument::Text(a[g]->Name()).bytes == b[g]->Name(),
                  "each named group loads back under its name");
    }
    for (int m = 0; m < a.front()->GetCount(); ++m)
        FuzzCheck(SameStoredValues(*a.front()->GetAt(m), *b.front()->GetAt(m)), "each record loads back the same");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    CProfileStore& store = FreshProfile();
    {
        CProfileBatch batch(store);
        CValue value(store);
        WriteAll(input, value);
        const int groups = input.ConsumeIntegralInRange(0, kMaxGroups);
        for (int n = 0; n < groups; ++n)
            WriteGroup(input, value, n);
        value.SetGroupCount(CountFrom(input, groups));
    }

    GroupList loaded;
    const int rc = LoadGroups(loaded, "All");
    FuzzCheck(rc == 0 || (rc == -1 && loaded.size() == 1), "a failed load keeps the All group alone");
    CheckMembership(loaded);
    if (rc != 0)
        return 0;
    FuzzCheck(SaveGroups(loaded) == 0, "the loaded list saves");
    GroupList again;
    FuzzCheck(LoadGroups(again, "All") == 0, "the saved list loads");
    CheckMembership(again);
    CheckSameLists(loaded, again);
    return 0;
}
