#pragma once
// CItemListView: the projector list control, a report-style table over the
// list model: one selected row at a time, the whole row highlighted (also
// while another window has the focus), no grid, the row icon in the first
// column. Header sections can be dragged to another place and resized; a
// divider double-click fits the column to its contents and caption. It tells
// its list window, by column number, about header clicks, moves and widths,
// and opens the row menu. Owned by the list window (CItemListArea).
#include <vector>

#include <QTableView>

class CProjectorListModel;
class QAction;

class CItemListView : public QTableView {
    Q_OBJECT
public:
    CItemListView(CProjectorListModel* model, QWidget* parent = nullptr);

    // The row menu's items, in order; a null entry is a separator.
    void SetRowMenuActions(const std::vector<QAction*>& actions);
    // Puts dragged header sections back in model order, silently: the list
    // window rebuilds the columns in the order the drag made.
    void ResetSectionOrder();

signals:
    // WM_LIST_HEADER_CLICK: the operator clicked the caption of this column.
    void ListHeaderClick(int column);
    // WM_LIST_COLUMN_MOVED: a header drag ended with the order changed.
    void ListColumnMoved();
    // WM_LIST_COLUMN_WIDTH: this column is now width pixels wide.
    void ListColumnWidth(int column, int width);
    // WM_LIST_HEADER_MENU: the operator asked for the header's menu here
    // (screen position).
    void ListHeaderMenu(const QPoint& at);
    // The row menu is about to open (time to update its items' states).
    void RowMenuAboutToShow();

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    CProjectorListModel* m_model;
    std::vector<QAction*> m_rowMenuActions;
};
