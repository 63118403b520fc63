#pragma once
// CAlertPopupWnd: one alert. It keeps a copy of the projector record as it
// was when the error was announced (its status chooses the texts and is the
// manager's key against a second box for the same condition), opens its
// caution box once it stands in the manager's list, runs it in a modal loop
// of its own, and tells the manager when the box has closed. It owns itself:
// it is released after its box has returned, and the manager unlinks it
// before that, so the manager never holds a released pop-up. UI thread.
#include <QFont>
#include <QPointer>

#include "alert/AlertManagerWnd.h"
#include "alert/CautionDialog.h"
#include "comm/ProjectorInfo.h"
#include "platform/MsgWnd.h"

class CAlertPopupWnd : public CMsgWnd {
public:
    // owner: the widget whose window the box belongs to (may be null).
    CAlertPopupWnd(CAlertManagerWnd* manager, const CProjectorInfo& record, QWidget* owner, const QFont& headingFont);
    ~CAlertPopupWnd() override;

    const CProjectorInfo& Record() const { return m_record; }
    // The open caution box, or null.
    CCautionDialog* Box() const { return m_box; }

protected:
    LRESULT OnMessage(unsigned msg, WPARAM wParam, LPARAM lParam) override;

private:
    void ShowBox();
    void TellManagerClosed();
    void Detach();

    QPointer<CAlertManagerWnd> m_manager;
    CProjectorInfo m_record;
    QPointer<QWidget> m_owner;
    QFont m_headingFont;
    QPointer<CCautionDialog> m_box;
    bool m_closedTold = false;
    bool m_detached = false;
};
