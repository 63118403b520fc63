#pragma once
// CNetBoardInfoList: the local IPv4 interfaces in the order the platform
// reports them; it owns its entries. The engine keeps one, read when it is
// created, so interfaces that appear later are used only after a restart.
#include <functional>
#include <memory>
#include <vector>

#include "comm/NetBoardInfo.h"
#include "platform/InterfaceList.h"

class CNetBoardInfoList {
public:
    using Reader = std::function<int(std::vector<InterfaceEntry>&)>;

    // Reads the interface list again: 0 (also for no interfaces), or -1 when
    // the query fails, which keeps the entries read before.
    int Refresh(const Reader& read = ReadInterfaceList);

    int GetCount() const { return static_cast<int>(m_entries.size()); }
    const CNetBoardInfo* GetAt(int n) const;
    void Add(std::unique_ptr<CNetBoardInfo> entry);
    void RemoveAll() { m_entries.clear(); }

private:
    std::vector<std::unique_ptr<CNetBoardInfo>> m_entries;
};
