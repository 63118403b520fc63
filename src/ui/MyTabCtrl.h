#pragma once
// CMyTabCtrl: the group tabs, one per group in group order (tab 0 is the All
// group). A double-click on a tab posts WM_TAB_DBLCLK to the view.
#include <string>

#include <QTabBar>

class CMyTabCtrl : public QTabBar {
public:
    CMyTabCtrl(QObject* view, QWidget* parent = nullptr);

    // A tab shows a group's name as it is: an "&" in it is no mnemonic.
    int AddGroupTab(const std::string& name);
    void SetGroupTabText(int index, const std::string& name);

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    QObject* m_view;
};
