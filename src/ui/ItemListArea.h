#pragma once
// CItemListArea: the list window of the selected group. It hosts the list
// control (a table view over a model that computes every cell's text and icon
// on demand from the records), applies the column list and the sort settings,
// keeps a record-to-row index so an update touches one row, and batches row
// updates so a refresh of the whole fleet repaints once. It tells the view
// about selection changes (WM_LIST_SELCHANGED) and double-clicks
// (WM_LIST_DBLCLK) by posted messages. The view owns it; it does not own the
// group, the column list or the sort settings.
#include <string>
#include <vector>

#include <QWidget>

class CGroupItem;
class CProjectorInfo;
class CViewItemInfoList;
class CViewSortInfo;
class QAction;
class QTableView;

class CItemListArea : public QWidget {
public:
    // view receives the posted messages.
    CItemListArea(CViewItemInfoList* columns, QObject* view, QWidget* parent = nullptr);
    // Harvests the operator's column widths and order into the column list.
    ~CItemListArea() override;

    void SetGroup(CGroupItem* group);
    CGroupItem* Group() const { return m_group; }
    void SetSortInfo(CViewSortInfo* sort);

    // Rows anew from the group, sorted; the record that was selected stays
    // selected if it is still listed, else nothing is.
    void Refill();
    // Columns anew from the column list, then ApplySort.
    void RebuildColumns();
    // Header marker on the key column (falling back to the name column when
    // the key is hidden) and the rows in order.
    void ApplySort();
    // Appends the row of the group member with that address, unsorted.
    void AddRow(const std::string& ipAddress);
    // The record's values changed: its row is repainted at the end of this
    // event-loop turn, with every other row that changed meanwhile.
    void RedrawRecord(const CProjectorInfo* record);
    CProjectorInfo* SelectedRecord() const;
    void ClearSelection();
    // Widths and display order of the header into the column list.
    void HarvestLayout();
    // The row menu's commands (the main window's actions).
    void SetRowMenuActions(const std::vector<QAction*>& actions);

    QTableView* ListView() const;

private:
    class Impl;
    Impl* m_impl = nullptr;
    CGroupItem* m_group = nullptr;
};
