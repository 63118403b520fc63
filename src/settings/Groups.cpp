#include "settings/Groups.h"

#include <algorithm>

#include "settings/ProfileStore.h"
#include "settings/SettingsDefs.h"
#include "settings/Value.h"

int LoadGroups(GroupList& groups, const std::string& allName, std::string* error) {
    groups.clear();
    auto all = std::make_unique<CGroupItem>(allName);
    CGroupItem* source = all.get();
    groups.push_back(std::move(all));
    if (source->Load(ALL_GROUP_INDEX, nullptr) != 0) {
        if (error)
            *error = source->LoadError();
        return -1;
    }
    CValue value;
    int count = std::min(value.GetGroupCount(), value.StoredGroupLimit());
    for (int i = 0; i < count; ++i) {
        auto group = std::make_unique<CGroupItem2>();
        if (group->Load(i, source) == 0)
            groups.push_back(std::move(group));
    }
    return 0;
}

int SaveGroups(const GroupList& groups) {
    CValue value;
    CProfileBatch batch(value.Store());
    value.DeleteGroupSections();
    // Named group j under index j, the All group last under -1.
    int count = int(groups.size());
    for (int i = count - 2; i >= ALL_GROUP_INDEX; --i)
        groups[std::size_t(i + 1)]->Save(i);
    value.SetGroupCount(std::max(count - 1, 0));
    return batch.Commit() ? 0 : -1;
}
