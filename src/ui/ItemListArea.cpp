// First cut: a plain table of the group's records, enough for the view to
// run; the list model, sorting, icons and layout harvest replace it.
#include "ui/ItemListArea.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QTableView>
#include <QVBoxLayout>

#include "comm/ProjectorInfo.h"
#include "settings/GroupItem.h"
#include "ui/ListColumns.h"
#include "ui/UiDefs.h"
#include "ui/ViewItemInfoList.h"

class CItemListArea::Impl : public QAbstractTableModel {
public:
    CGroupItem* group = nullptr;
    QTableView* view = nullptr;
    int rowCount(const QModelIndex&) const override { return group ? group->GetCount() : 0; }
    int columnCount(const QModelIndex&) const override { return LIST_COLUMN_COUNT; }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole || !group)
            return {};
        const CProjectorInfo* record = group->GetAt(index.row());
        return record ? QString::fromStdString(CellText(index.column(), *record)) : QVariant();
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
            return QString::fromStdString(ColumnCaption(section));
        return {};
    }
    void Reset() {
        beginResetModel();
        endResetModel();
    }
};

CItemListArea::CItemListArea(CViewItemInfoList*, QObject*, QWidget* parent) : QWidget(parent), m_impl(new Impl) {
    m_impl->setParent(this);
    m_impl->view = new QTableView(this);
    m_impl->view->setModel(m_impl);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_impl->view);
}

CItemListArea::~CItemListArea() = default;

void CItemListArea::SetGroup(CGroupItem* group) {
    m_group = group;
    m_impl->group = group;
    m_impl->Reset();
}

void CItemListArea::SetSortInfo(CViewSortInfo*) {}
void CItemListArea::Refill() { m_impl->Reset(); }
void CItemListArea::RebuildColumns() {}
void CItemListArea::ApplySort() {}
void CItemListArea::AddRow(const std::string&) { m_impl->Reset(); }
void CItemListArea::RedrawRecord(const CProjectorInfo*) { m_impl->view->viewport()->update(); }

CProjectorInfo* CItemListArea::SelectedRecord() const {
    const QModelIndex index = m_impl->view->currentIndex();
    return index.isValid() && m_group ? m_group->GetAt(index.row()) : nullptr;
}

void CItemListArea::ClearSelection() { m_impl->view->clearSelection(); }
void CItemListArea::HarvestLayout() {}
void CItemListArea::SetRowMenuActions(const std::vector<QAction*>&) {}
QTableView* CItemListArea::ListView() const { return m_impl->view; }
