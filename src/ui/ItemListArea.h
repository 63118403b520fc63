#pragma once
// CItemListArea: the list window of the selected group. It hosts the list
// control (a table view over a model that computes every cell's text and icon
// on demand from the records), applies the column list and the sort settings,
// keeps a record-to-row index so an update touches one row, and batches row
// updates so a refresh of the whole fleet repaints once. It tells the view
// about selection changes (WM_LIST_SELCHANGED) and double-clicks
// (WM_LIST_DBLCLK) by posted messages, and handles the header's own menu
// itself. Columns are matched by their number, never by caption. The view owns it; it does not own the group, the column
// list or the sort settings, which must outlive it (its destruction harvests
// the operator's widths and order into the column list).
#include <string>
#include <vector>

#include <QWidget>

#include "settings/ViewSortInfo.h"
#include "ui/ViewItemInfoList.h"

class CGroupItem;
class CItemListView;
class CProjectorInfo;
class CProjectorListModel;
class QAction;
class QPoint;
class QTableView;

class CItemListArea : public QWidget {
    Q_OBJECT
public:
    // view receives the posted messages. Without a column list the defaults
    // are shown.
    CItemListArea(CViewItemInfoList* columns, QObject* view, QWidget* parent = nullptr);
    // Harvests the operator's column widths and order into the column list.
    ~CItemListArea() override;

    void SetGroup(CGroupItem* group);
    CGroupItem* Group() const { return m_group; }
    // Without sort settings the rows are sorted by name, ascending.
    void SetSortInfo(CViewSortInfo* sort);

    // Rows anew from the group, sorted; the record that was selected stays
    // selected if it is still listed, else nothing is.
    void Refill();
    // Columns anew from the column list, then ApplySort.
    void RebuildColumns();
    // Header marker on the key column (falling back to the name column, in
    // the sort settings, when the key is not shown) and the rows in order.
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
    // The row menu's commands (the main window's actions); a null entry is a
    // separator.
    void SetRowMenuActions(const std::vector<QAction*>& actions);
    // The header's menu: one item per column in number order, ticked when
    // shown; the name column's is ticked and greyed. Choosing an item shows
    // or hides its column here: its commands never reach the main window.
    void ShowHeaderMenu(const QPoint& at);
    // Shows a hidden column, hides a shown one (never the name column), and
    // rebuilds the columns.
    void ToggleColumn(int column);

    QTableView* ListView() const;
    CProjectorListModel* ListModel() const { return m_model; }

signals:
    // The row menu is about to open: the time to evaluate its enable rules.
    void RowMenuAboutToShow();

private:
    void OnHeaderClick(int column);
    void OnColumnMoved();
    void OnColumnWidth(int column, int width);
    void OnSelectionChanged();
    // Selects record's row (none for null or unlisted) without telling the view.
    void SelectQuietly(CProjectorInfo* record);
    void ApplyWidths();
    void FitWidthsToCaptions();

    CViewItemInfoList m_defaultColumns;
    CViewSortInfo m_defaultSort;
    CViewItemInfoList* m_columns;
    CViewSortInfo* m_sort = &m_defaultSort;
    QObject* m_view;
    CGroupItem* m_group = nullptr;
    CProjectorListModel* m_model;
    CItemListView* m_list;
    // While the list rebuilds itself, the header's and the selection's
    // changes are its own, not the operator's.
    bool m_rebuilding = false;
};
