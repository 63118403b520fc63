#include "ui/MyTabCtrl.h"

#include <QMouseEvent>

#include "ui/UiDefs.h"

CMyTabCtrl::CMyTabCtrl(QObject* view, QWidget* parent) : QTabBar(parent), m_view(view) {}

void CMyTabCtrl::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        PostMessage(m_view, WM_TAB_DBLCLK);
    QTabBar::mouseDoubleClickEvent(event);
}
