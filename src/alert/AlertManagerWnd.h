#pragma once
// CAlertManagerWnd: the hidden alert manager, a child of the main view. It
// raises an alert pop-up for a projector error unless one for the same
// status code is open already, anywhere in the fleet, and keeps the open
// pop-ups in the order they were made until each tells it its box closed.
// When it goes (with the view), its pop-ups close their boxes. UI thread.
#include <vector>

#include <QFont>
#include <QPointer>

#include "alert/AlertList.h"
#include "platform/MsgWnd.h"

class CAlertPopupWnd;
class CProjectorInfo;
class QWidget;

class CAlertManagerWnd : public CMsgWnd {
public:
    // owner: the widget whose window owns the caution boxes (the view).
    explicit CAlertManagerWnd(QObject* parent, QWidget* owner = nullptr);
    ~CAlertManagerWnd() override;

    // The caution heading's font (the user-interface font at 16 pixels).
    void SetHeadingFont(const QFont& font) { m_headingFont = font; }

    // 1 when a pop-up for record's status was made and listed, 0 when one
    // for that status is open already, -1 without a record.
    int AddAlert(const CProjectorInfo* record);
    // 1 when a listed pop-up was made for status, else 0.
    int HasAlertFor(int status) const;
    // The listed pop-ups, oldest first.
    std::vector<CAlertPopupWnd*> Popups() const;

protected:
    LRESULT OnMessage(unsigned msg, WPARAM wParam, LPARAM lParam) override;

private:
    CAlertList m_list;
    QPointer<QWidget> m_owner;
    QFont m_headingFont;
};
