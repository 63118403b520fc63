#pragma once
// CMyTabCtrl: the group tabs, one per group in group order (tab 0 is the All
// group). A double-click on a tab posts WM_TAB_DBLCLK to the view.
#include <QTabBar>

class CMyTabCtrl : public QTabBar {
public:
    CMyTabCtrl(QObject* view, QWidget* parent = nullptr);

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    QObject* m_view;
};
