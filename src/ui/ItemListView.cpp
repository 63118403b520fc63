#include "ui/ItemListView.h"

#include <algorithm>

#include <QContextMenuEvent>
#include <QMenu>
#include <QSignalBlocker>

#include "ui/ListHeader.h"
#include "ui/ListIcons.h"
#include "ui/ProjectorListModel.h"

namespace {

// Room around the row icon, so that rows do not touch.
constexpr int kRowPadding = 4;

// The highlight keeps its colour when the list loses the focus (to the
// controller, say), so the operator always sees which projector a command hits.
QPalette SelectionAlwaysShown(QPalette palette) {
    for (auto role : {QPalette::Highlight, QPalette::HighlightedText})
        palette.setColor(QPalette::Inactive, role, palette.color(QPalette::Active, role));
    return palette;
}

}  // namespace

CItemListView::CItemListView(CProjectorListModel* model, QWidget* parent) : QTableView(parent), m_model(model) {
    setHorizontalHeader(new CListHeader(this));
    setModel(model);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setIconSize(QSize(ROW_ICON_SIZE, ROW_ICON_SIZE));
    setPalette(SelectionAlwaysShown(palette()));
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);

    QHeaderView* rows = verticalHeader();
    rows->hide();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(std::max(ROW_ICON_SIZE, fontMetrics().height()) + kRowPadding);

    QHeaderView* header = horizontalHeader();
    header->setSectionsMovable(true);
    header->setSectionsClickable(true);
    header->setHighlightSections(false);
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setStretchLastSection(false);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->setMinimumSectionSize(0);
    header->setTextElideMode(Qt::ElideRight);
    connect(header, &QHeaderView::sectionClicked, this,
            [this](int logical) { emit ListHeaderClick(m_model->ColumnAt(logical)); });
    connect(header, &QHeaderView::sectionMoved, this, [this](int, int from, int to) {
        if (from != to)
            emit ListColumnMoved();
    });
    connect(header, &QHeaderView::sectionResized, this,
            [this](int logical, int, int width) { emit ListColumnWidth(m_model->ColumnAt(logical), width); });
    header->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(header, &QHeaderView::customContextMenuRequested, this,
            [this, header](const QPoint& at) { emit ListHeaderMenu(header->viewport()->mapToGlobal(at)); });
}

void CItemListView::SetRowMenuActions(const std::vector<QAction*>& actions) { m_rowMenuActions = actions; }

void CItemListView::ResetSectionOrder() {
    QHeaderView* header = horizontalHeader();
    const QSignalBlocker quiet(header);
    for (int logical = 0; logical < header->count(); ++logical)
        header->moveSection(header->visualIndex(logical), logical);
}

// The menu's commands act on the selected projector, so a right-click first
// selects the row under the pointer (or, off the rows, nothing).
void CItemListView::contextMenuEvent(QContextMenuEvent* event) {
    QPoint at = event->globalPos();
    if (event->reason() == QContextMenuEvent::Mouse) {
        const QModelIndex index = indexAt(event->pos());
        if (index.isValid())
            selectRow(index.row());
        else
            clearSelection();
    } else if (currentIndex().isValid()) {
        at = viewport()->mapToGlobal(visualRect(currentIndex()).center());
    }
    if (m_rowMenuActions.empty())
        return;
    QMenu menu(this);
    for (QAction* action : m_rowMenuActions) {
        if (action)
            menu.addAction(action);
        else
            menu.addSeparator();
    }
    emit RowMenuAboutToShow();
    menu.exec(at);
}
