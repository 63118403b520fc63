// First cut: defaults only; loading and saving come with the list work.
#include "ui/ViewItemInfoList.h"

#include "ui/ListColumns.h"

CViewItemInfoList::CViewItemInfoList() {
    for (int c = 0; c < LIST_COLUMN_COUNT; ++c)
        m_items.push_back({c, 1, DefaultColumnWidth(c)});
}

int CViewItemInfoList::Load() { return 0; }
int CViewItemInfoList::Save() const { return 0; }
CViewItemInfo* CViewItemInfoList::At(int p) { return p >= 0 && p < Count() ? &m_items[p] : nullptr; }
const CViewItemInfo* CViewItemInfoList::At(int p) const { return p >= 0 && p < Count() ? &m_items[p] : nullptr; }
CViewItemInfo* CViewItemInfoList::ByColumn(int c) {
    for (auto& item : m_items)
        if (item.column == c)
            return &item;
    return nullptr;
}
const CViewItemInfo* CViewItemInfoList::ByColumn(int c) const {
    return const_cast<CViewItemInfoList*>(this)->ByColumn(c);
}
std::vector<int> CViewItemInfoList::VisibleColumns() const {
    std::vector<int> out;
    for (const auto& item : m_items)
        if (item.visible)
            out.push_back(item.column);
    return out;
}
int CViewItemInfoList::SetVisible(int, bool, bool) { return 0; }
int CViewItemInfoList::ToggleVisible(int) { return 0; }
void CViewItemInfoList::Reorder(const std::vector<int>&) {}
