#include "ui/MyTabCtrl.h"

#include <QMouseEvent>

#include "ui/UiDefs.h"

CMyTabCtrl::CMyTabCtrl(QObject* view, QWidget* parent) : QTabBar(parent), m_view(view) {}

namespace {
QString Caption(const std::string& name) {
    return QString::fromStdString(name).replace(QLatin1Char('&'), QLatin1String("&&"));
}
}  // namespace

int CMyTabCtrl::AddGroupTab(const std::string& name) { return addTab(Caption(name)); }

void CMyTabCtrl::SetGroupTabText(int index, const std::string& name) { setTabText(index, Caption(name)); }

void CMyTabCtrl::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        PostMessage(m_view, WM_TAB_DBLCLK);
    QTabBar::mouseDoubleClickEvent(event);
}
