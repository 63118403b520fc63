#pragma once
// Stand-in for the group classes until the persistence layer lands: an
// ordered list of projector records that owns them. Only what the engine
// and its tests use.
#include <vector>

#include "comm/ProjectorInfo.h"

class CGroupItem {
public:
    CGroupItem() = default;
    CGroupItem(const CGroupItem&) = delete;
    CGroupItem& operator=(const CGroupItem&) = delete;
    virtual ~CGroupItem() {
        for (CProjectorInfo* record : m_members)
            delete record;
    }
    CProjectorInfo* GetAt(int n) const {
        return n >= 0 && n < static_cast<int>(m_members.size()) ? m_members[static_cast<size_t>(n)] : nullptr;
    }
    int AddCopy(const CProjectorInfo& record, CProjectorInfo** out) {
        CProjectorInfo* copy = new CProjectorInfo(record);
        m_members.push_back(copy);
        if (out)
            *out = copy;
        return 0;
    }
    int GetCount() const { return static_cast<int>(m_members.size()); }

protected:
    std::vector<CProjectorInfo*> m_members;
};
