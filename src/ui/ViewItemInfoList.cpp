#include "ui/ViewItemInfoList.h"

#include <algorithm>

#include "settings/ProfileStore.h"
#include "settings/TextTools.h"
#include "settings/Value.h"
#include "ui/ListColumns.h"

namespace {

// A width the stored list leaves out, or one that no screen could show.
constexpr int kFallbackWidth = 80;
constexpr int kMaxWidth = 10000;

int StoredWidth(const std::string& field) {
    if (field.empty())
        return kFallbackWidth;
    const int width = LeadingInt(field);
    return width >= 0 && width <= kMaxWidth ? width : kFallbackWidth;
}

// The column number of a stored order field; -1 for anything but a plain
// number 0..10.
int StoredColumn(const std::string& field) {
    if (!IsAllDigits(field) || field.size() > 2)
        return -1;
    const int column = LeadingInt(field);
    return column < LIST_COLUMN_COUNT ? column : -1;
}

}  // namespace

CViewItemInfoList::CViewItemInfoList() { SetDefaults(); }

void CViewItemInfoList::SetDefaults() {
    m_items.clear();
    for (int c = 0; c < LIST_COLUMN_COUNT; ++c)
        m_items.push_back({c, 1, DefaultColumnWidth(c)});
}

int CViewItemInfoList::Load() {
    CValue value;
    m_widthsToFit = !value.IsStored("ViewInfoWidth");
    const std::string visible = value.GetViewInfoVisible();
    if (visible.empty())
        return 0;
    const std::string order = value.GetViewInfoOrder();
    const std::string widths = value.GetViewInfoWidth();
    std::vector<CViewItemInfo> items;
    int orderPos = 0;
    int widthPos = 0;
    // Positions stay aligned across the three values even where a field is
    // skipped, so one bad order field costs one column, not the rest.
    for (std::size_t p = 0; p < visible.size() && int(items.size()) < LIST_COLUMN_COUNT; ++p) {
        const std::string field = NextToken(order, ",", orderPos);
        if (field.empty())
            break;
        const int width = StoredWidth(NextToken(widths, ",", widthPos));
        const int column = StoredColumn(field);
        const bool repeated = std::any_of(items.begin(), items.end(), [&](const auto& i) { return i.column == column; });
        if (column >= 0 && !repeated)
            items.push_back({column, visible[p] == '1' ? 1 : 0, width});
    }
    if (items.empty()) {
        SetDefaults();
        return 0;
    }
    m_items = std::move(items);
    CompleteColumns();
    return 0;
}

// Every column once, with the name column shown: the header menu and the
// column dialog cannot show the name column again, so a stored list that
// hides it would hide it for good.
void CViewItemInfoList::CompleteColumns() {
    for (int c = 0; c < LIST_COLUMN_COUNT; ++c)
        if (!ByColumn(c))
            m_items.push_back({c, 0, kFallbackWidth});
    ByColumn(0)->visible = 1;
}

int CViewItemInfoList::Save() const {
    std::string visible;
    std::vector<int> widths;
    std::vector<int> order;
    for (const auto& item : m_items) {
        visible += item.visible ? '1' : '0';
        widths.push_back(item.width);
        order.push_back(item.column);
    }
    CValue value;
    CProfileBatch batch(value.Store());
    value.SetViewInfoVisible(visible);
    value.SetViewInfoWidth(JoinIntList(widths));
    value.SetViewInfoOrder(JoinIntList(order));
    return batch.Commit() ? 0 : -1;
}

CViewItemInfo* CViewItemInfoList::At(int p) { return p >= 0 && p < Count() ? &m_items[p] : nullptr; }

const CViewItemInfo* CViewItemInfoList::At(int p) const { return p >= 0 && p < Count() ? &m_items[p] : nullptr; }

CViewItemInfo* CViewItemInfoList::ByColumn(int c) {
    auto it = std::find_if(m_items.begin(), m_items.end(), [c](const auto& item) { return item.column == c; });
    return it == m_items.end() ? nullptr : &*it;
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

int CViewItemInfoList::SetVisible(int column, bool visible, bool keepPosition) {
    CViewItemInfo* item = ByColumn(column);
    if (!item)
        return -1;
    if (bool(item->visible) == visible)
        return 0;
    item->visible = visible ? 1 : 0;
    if (!visible) {
        std::stable_partition(m_items.begin(), m_items.end(), [](const auto& i) { return i.visible != 0; });
    } else if (!keepPosition) {
        const CViewItemInfo shown = *item;
        m_items.erase(m_items.begin() + (item - m_items.data()));
        const auto at = std::min<std::size_t>(std::size_t(column), m_items.size());
        m_items.insert(m_items.begin() + std::ptrdiff_t(at), shown);
    }
    return 1;
}

int CViewItemInfoList::ToggleVisible(int column) {
    const CViewItemInfo* item = ByColumn(column);
    return item ? SetVisible(column, item->visible == 0, false) : -1;
}

void CViewItemInfoList::FitWidths(const std::function<int(int column)>& minimum) {
    m_widthsToFit = false;
    for (auto& item : m_items)
        item.width = std::max(item.width, minimum(item.column));
}

void CViewItemInfoList::Reorder(const std::vector<int>& visibleInDisplayOrder) {
    std::vector<CViewItemInfo> items;
    for (int column : visibleInDisplayOrder) {
        const CViewItemInfo* item = ByColumn(column);
        const bool taken = std::any_of(items.begin(), items.end(), [&](const auto& i) { return i.column == column; });
        if (item && !taken)
            items.push_back(*item);
    }
    for (const auto& item : m_items)
        if (std::none_of(items.begin(), items.end(), [&](const auto& i) { return i.column == item.column; }))
            items.push_back(item);
    m_items = std::move(items);
}
