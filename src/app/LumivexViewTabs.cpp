// The view's group tabs and the list window of the selected tab, and how
// they are laid out in the view.
#include <algorithm>

#include <QAction>
#include <QPainter>
#include <QResizeEvent>
#include <QStyleOptionTabWidgetFrame>
#include <QTimer>

#include "app/AppDefs.h"
#include "app/LumivexView.h"
#include "platform/ResourceText.h"
#include "settings/Value.h"
#include "ui/ItemListArea.h"
#include "ui/MyTabCtrl.h"
#include "ui/UiFont.h"

namespace {

// The list window sits this far inside the tab page, as a tab control's page
// holds its contents.
constexpr int kListMarginLeft = 32;
constexpr int kListMarginTop = 32;
constexpr int kListMarginRight = 30;
constexpr int kListMarginBottom = 30;

}  // namespace

int CLumivexView::CreateTabs() {
    if (!MakeUiFont(m_tabFont)) {
        m_createError = "the user-interface font cannot be made: there is no screen";
        return -1;
    }
    m_tabs = new CMyTabCtrl(this, this);
    m_tabs->setObjectName(QStringLiteral("groupTabs"));
    m_tabs->setAccessibleName(QString::fromStdString(ResourceText(IDS_GROUP_TABS_NAME)));
    m_tabs->setFont(m_tabFont);
    m_tabs->setExpanding(false);
    m_tabs->setUsesScrollButtons(true);
    m_tabs->setDrawBase(false);
    m_tabs->setFocusPolicy(Qt::StrongFocus);
    connect(m_tabs, &QTabBar::currentChanged, this, [this] { SelectGroupTab(); });
    return 0;
}

void CLumivexView::FillGroupTabs() {
    if (!m_tabs)
        return;
    {
        const QSignalBlocker quiet(m_tabs);
        while (m_tabs->count() > 0)
            m_tabs->removeTab(0);
        for (const auto& group : m_groups)
            m_tabs->AddGroupTab(group->Name());
        // A stored tab beyond the last selects the last; a negative one
        // (no tab) falls back to the All group.
        const int stored = CValue().GetSelectGroup();
        m_tabs->setCurrentIndex(std::clamp(stored, 0, std::max(m_tabs->count() - 1, 0)));
    }
    SelectGroupTab();
}

void CLumivexView::SelectGroupTab() {
    if (!m_tabs)
        return;
    const int index = m_tabs->currentIndex();
    RebuildListArea(index);
    CValue().SetSelectGroup(index);
}

CGroupItem* CLumivexView::GroupAt(int index) const {
    if (!m_tabs || index < 0 || index >= m_tabs->count() || index >= int(m_groups.size()))
        return nullptr;
    return m_groups[std::size_t(index)].get();
}

void CLumivexView::RebuildListArea(int index) {
    delete m_list;  // harvests the operator's layout into the column list
    m_list = new CItemListArea(m_columns.get(), this, this);
    m_list->setObjectName(QStringLiteral("listArea"));
    m_list->setGeometry(ListAreaRect());
    m_list->SetRowMenuActions(m_rowActions);
    connect(m_list, &CItemListArea::RowMenuAboutToShow, this, [this] {
        for (QAction* action : m_rowActions)
            if (action)
                action->setEnabled(IsCommandEnabled(action->data().toInt()));
    });
    m_list->SetSortInfo(m_sort.get());
    m_list->SetGroup(GroupAt(index));
    m_list->Refill();
    m_list->show();
    UpdateControllerTarget();
}

QRect CLumivexView::ListAreaRect() const {
    const int tabBottom = m_tabs ? m_tabs->geometry().bottom() + 1 : 0;
    return QRect(kListMarginLeft, tabBottom + kListMarginTop,
                 std::max(width() - kListMarginLeft - kListMarginRight, 0),
                 std::max(height() - tabBottom - kListMarginTop - kListMarginBottom, 0));
}

void CLumivexView::resizeEvent(QResizeEvent* event) {
    TMsgWnd<QWidget>::resizeEvent(event);
    if (m_tabs)
        m_tabs->setGeometry(0, 0, width(), m_tabs->sizeHint().height());
    if (m_list)
        m_list->setGeometry(ListAreaRect());
    if (m_firstLayout && width() > 0 && height() > 0) {
        m_firstLayout = false;
        // The tab row lays itself out when it is shown, after this.
        QTimer::singleShot(0, this, [this] { ScrollSelectedTabIntoView(); });
    }
}

void CLumivexView::ScrollSelectedTabIntoView() {
    if (!m_tabs || m_tabs->count() < 2)
        return;
    // Moving the selection away and back makes the row scroll to it; the
    // selection itself does not change, so nothing is rebuilt.
    const QSignalBlocker quiet(m_tabs);
    const int selected = m_tabs->currentIndex();
    m_tabs->setCurrentIndex(selected == 0 ? 1 : 0);
    m_tabs->setCurrentIndex(selected);
}

void CLumivexView::paintEvent(QPaintEvent*) {
    // The page under the tabs, as a tab control draws it around its page.
    if (!m_tabs)
        return;
    QPainter painter(this);
    QStyleOptionTabWidgetFrame frame;
    frame.initFrom(this);
    frame.rect = rect().adjusted(0, m_tabs->geometry().bottom(), 0, 0);
    frame.shape = QTabBar::RoundedNorth;
    frame.tabBarSize = m_tabs->sizeHint();
    frame.lineWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
    style()->drawPrimitive(QStyle::PE_FrameTabWidget, &frame, &painter, this);
}
