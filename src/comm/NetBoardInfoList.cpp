#include "comm/NetBoardInfoList.h"

#include <utility>

int CNetBoardInfoList::Refresh(const Reader& read) {
    std::vector<InterfaceEntry> entries;
    if (!read || read(entries) != 0)
        return -1;
    m_entries.clear();
    for (InterfaceEntry& entry : entries)
        Add(std::make_unique<CNetBoardInfo>(entry.flags, std::move(entry.address), std::move(entry.mask),
                                            std::move(entry.broadcast)));
    return 0;
}

const CNetBoardInfo* CNetBoardInfoList::GetAt(int n) const {
    return n >= 0 && n < GetCount() ? m_entries[static_cast<size_t>(n)].get() : nullptr;
}

void CNetBoardInfoList::Add(std::unique_ptr<CNetBoardInfo> entry) {
    if (entry)
        m_entries.push_back(std::move(entry));
}
