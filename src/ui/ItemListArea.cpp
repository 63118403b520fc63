#include "ui/ItemListArea.h"

#include <QHeaderView>
#include <QMenu>
#include <QScrollBar>
#include <QVBoxLayout>

#include "comm/ProjectorInfo.h"
#include "settings/GroupItem.h"
#include "ui/ItemListView.h"
#include "ui/ListColumns.h"
#include "ui/ListHeader.h"
#include "ui/ProjectorListModel.h"
#include "ui/UiDefs.h"

namespace {

// Sets a flag for a scope and restores what it was.
class CFlagScope {
public:
    explicit CFlagScope(bool& flag) : m_flag(flag), m_old(flag) { m_flag = true; }
    ~CFlagScope() { m_flag = m_old; }
    CFlagScope(const CFlagScope&) = delete;
    CFlagScope& operator=(const CFlagScope&) = delete;

private:
    bool& m_flag;
    bool m_old;
};

}  // namespace

CItemListArea::CItemListArea(CViewItemInfoList* columns, QObject* view, QWidget* parent)
    : QWidget(parent),
      m_columns(columns ? columns : &m_defaultColumns),
      m_view(view),
      m_model(new CProjectorListModel(this)),
      m_list(new CItemListView(m_model, this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_list);
    setFocusProxy(m_list);

    connect(m_list, &CItemListView::ListHeaderClick, this, &CItemListArea::OnHeaderClick);
    // After the header has finished the drag, not inside it: the rebuild
    // replaces the header's sections.
    connect(m_list, &CItemListView::ListColumnMoved, this, &CItemListArea::OnColumnMoved, Qt::QueuedConnection);
    connect(m_list, &CItemListView::ListColumnWidth, this, &CItemListArea::OnColumnWidth);
    connect(m_list, &CItemListView::RowMenuAboutToShow, this, &CItemListArea::RowMenuAboutToShow);
    connect(m_list, &CItemListView::ListHeaderMenu, this, &CItemListArea::ShowHeaderMenu);
    connect(m_list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CItemListArea::OnSelectionChanged);
    connect(m_list, &QAbstractItemView::doubleClicked, this, [this] { PostMessage(m_view, WM_LIST_DBLCLK); });
    if (m_columns->WidthsToFit())
        FitWidthsToCaptions();
    RebuildColumns();
}

void CItemListArea::FitWidthsToCaptions() {
    const auto* header = static_cast<const CListHeader*>(m_list->horizontalHeader());
    m_columns->FitWidths([header](int column) {
        return header->SectionWidthFor(QString::fromStdString(ColumnCaption(column)));
    });
}

CItemListArea::~CItemListArea() { HarvestLayout(); }

void CItemListArea::SetGroup(CGroupItem* group) { m_group = group; }

void CItemListArea::SetSortInfo(CViewSortInfo* sort) { m_sort = sort ? sort : &m_defaultSort; }

void CItemListArea::Refill() {
    CProjectorInfo* selected = SelectedRecord();
    std::vector<CProjectorInfo*> records;
    for (int i = 0; m_group && i < m_group->GetCount(); ++i)
        records.push_back(m_group->GetAt(i));
    {
        CFlagScope rebuilding(m_rebuilding);
        m_model->SetRecords(records);
    }
    RebuildColumns();
    // The same projector, never whichever one now sits at the old row: the
    // next power command goes to the selected row.
    SelectQuietly(m_model->RowOf(selected) >= 0 ? selected : nullptr);
    if (SelectedRecord() != selected)
        PostMessage(m_view, WM_LIST_SELCHANGED);
}

void CItemListArea::RebuildColumns() {
    CProjectorInfo* selected = SelectedRecord();
    const int top = m_list->verticalScrollBar()->value();
    const int left = m_list->horizontalScrollBar()->value();
    {
        CFlagScope rebuilding(m_rebuilding);
        m_list->ResetSectionOrder();
        m_model->SetColumns(m_columns->VisibleColumns());
        ApplyWidths();
    }
    ApplySort();
    SelectQuietly(selected);
    m_list->doItemsLayout();  // scroll ranges for the new columns before the old positions return
    m_list->verticalScrollBar()->setValue(top);
    m_list->horizontalScrollBar()->setValue(left);
}

void CItemListArea::ApplyWidths() {
    QHeaderView* header = m_list->horizontalHeader();
    for (int i = 0; i < m_model->columnCount(); ++i)
        if (const CViewItemInfo* item = m_columns->ByColumn(m_model->ColumnAt(i)))
            header->resizeSection(i, item->width);
}

void CItemListArea::ApplySort() {
    const CViewItemInfo* key = m_columns->ByColumn(m_sort->listSort);
    if (!key || !key->visible)
        m_sort->listSort = COLUMN_NAME;
    const bool descending = m_sort->listSortOrder == 1;
    m_model->SetSortMarker(m_sort->listSort, descending);
    m_model->Sort(m_sort->listSort, descending);
}

void CItemListArea::AddRow(const std::string& ipAddress) {
    if (m_group)
        m_model->AppendRecord(m_group->FindByAddress(ipAddress));
}

void CItemListArea::RedrawRecord(const CProjectorInfo* record) { m_model->RecordChanged(record); }

CProjectorInfo* CItemListArea::SelectedRecord() const {
    const QModelIndexList rows = m_list->selectionModel()->selectedRows();
    return rows.isEmpty() ? nullptr : m_model->RecordAt(rows.first().row());
}

void CItemListArea::ClearSelection() { m_list->clearSelection(); }

void CItemListArea::HarvestLayout() {
    const QHeaderView* header = m_list->horizontalHeader();
    std::vector<int> order;
    for (int visual = 0; visual < header->count(); ++visual) {
        const int logical = header->logicalIndex(visual);
        const int column = m_model->ColumnAt(logical);
        if (CViewItemInfo* item = m_columns->ByColumn(column)) {
            item->width = header->sectionSize(logical);
            order.push_back(column);
        }
    }
    m_columns->Reorder(order);
}

void CItemListArea::ShowHeaderMenu(const QPoint& at) {
    QMenu menu(this);
    for (int column = 0; column < LIST_COLUMN_COUNT; ++column) {
        const CViewItemInfo* item = m_columns->ByColumn(column);
        QAction* action = menu.addAction(QString::fromStdString(ColumnCaption(column)));
        action->setData(column);
        action->setCheckable(true);
        action->setChecked(column == COLUMN_NAME || (item && item->visible));
        action->setEnabled(column != COLUMN_NAME);
    }
    // Acted on once the menu has gone, not while its header is still busy
    // with the request.
    if (QAction* chosen = menu.exec(at))
        ToggleColumn(chosen->data().toInt());
}

void CItemListArea::ToggleColumn(int column) {
    if (column == COLUMN_NAME)
        return;
    // The header's latest widths and order first: the toggle rearranges the list.
    HarvestLayout();
    if (m_columns->ToggleVisible(column) > 0)
        RebuildColumns();
}

void CItemListArea::SetRowMenuActions(const std::vector<QAction*>& actions) { m_list->SetRowMenuActions(actions); }

QTableView* CItemListArea::ListView() const { return m_list; }

// The same column flips the order; another column sorts ascending. Not
// saved here: the view saves the sort settings when it closes.
void CItemListArea::OnHeaderClick(int column) {
    if (column < 0)
        return;
    if (column == m_sort->listSort) {
        m_sort->listSortOrder = m_sort->listSortOrder == 1 ? 0 : 1;
    } else {
        m_sort->listSort = column;
        m_sort->listSortOrder = 0;
    }
    ApplySort();
}

void CItemListArea::OnColumnMoved() {
    HarvestLayout();
    RebuildColumns();
}

void CItemListArea::OnColumnWidth(int column, int width) {
    if (m_rebuilding)
        return;
    if (CViewItemInfo* item = m_columns->ByColumn(column))
        item->width = width;
}

void CItemListArea::OnSelectionChanged() {
    if (!m_rebuilding)
        PostMessage(m_view, WM_LIST_SELCHANGED);
}

void CItemListArea::SelectQuietly(CProjectorInfo* record) {
    CFlagScope rebuilding(m_rebuilding);
    const int row = m_model->RowOf(record);
    QItemSelectionModel* selection = m_list->selectionModel();
    if (row < 0) {
        selection->clearSelection();
        return;
    }
    selection->setCurrentIndex(m_model->index(row, 0),
                               QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}
