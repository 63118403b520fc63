#pragma once
// CViewItemInfo / CViewItemInfoList: the projector list's column definitions
// in display order (column number 0..10 is a column's identity; visible;
// width in pixels). Owned by the main view, loaded at its creation, shared by
// pointer with the list window (which harvests the operator's widths and order
// into it) and copied by the column dialog. Stored as "ViewInfoVisible",
// "ViewInfoWidth" and "ViewInfoOrder".
#include <functional>
#include <string>
#include <vector>

constexpr int LIST_COLUMN_COUNT = 11;

struct CViewItemInfo {
    int column = 0;
    int visible = 1;
    int width = 80;
    bool operator==(const CViewItemInfo&) const = default;
};

class CViewItemInfoList {
public:
    // The default layout: every column visible, in number order, default widths.
    CViewItemInfoList();
    virtual ~CViewItemInfoList() = default;

    // Reads the three values. Column numbers outside 0..10 and repeats are
    // skipped; missing columns are appended hidden with width 80; with nothing
    // valid read the defaults stay. The name column is always shown. An empty
    // "ViewInfoVisible" leaves the list as it is. Without a stored
    // "ViewInfoWidth" the widths are still to be fitted (WidthsToFit).
    int Load();
    // Writes the three values in list order, together; -1 when the store
    // could not be written.
    int Save() const;

    void CopyFrom(const CViewItemInfoList& other) { m_items = other.m_items; }
    bool operator==(const CViewItemInfoList& other) const { return m_items == other.m_items; }

    int Count() const { return int(m_items.size()); }
    CViewItemInfo* At(int position);
    const CViewItemInfo* At(int position) const;
    CViewItemInfo* ByColumn(int column);
    const CViewItemInfo* ByColumn(int column) const;
    // The column numbers of the visible definitions, in display order.
    std::vector<int> VisibleColumns() const;

    // -1 for an unknown column, 0 when nothing changes, else 1. Hiding moves
    // the definition behind the visible ones; showing (unless keepPosition)
    // puts it back in front of the one standing at its column number.
    int SetVisible(int column, bool visible, bool keepPosition);
    int ToggleVisible(int column);
    void Replace(std::vector<CViewItemInfo> items) { m_items = std::move(items); }
    // Visible definitions in the given display order (column numbers), then
    // every other definition in its previous relative order.
    void Reorder(const std::vector<int>& visibleInDisplayOrder);

    const std::vector<CViewItemInfo>& Items() const { return m_items; }

    // The widths were not stored: the pixel defaults were made for a narrower
    // font than the console's, so the first list to show them widens each
    // column to at least minimum(column) once. Stored widths stay as stored.
    bool WidthsToFit() const { return m_widthsToFit; }
    void FitWidths(const std::function<int(int column)>& minimum);

private:
    void SetDefaults();
    void CompleteColumns();

    std::vector<CViewItemInfo> m_items;
    bool m_widthsToFit = false;
};
