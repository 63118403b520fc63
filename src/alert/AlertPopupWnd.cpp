#include "alert/AlertPopupWnd.h"

#include "alert/AlertCodes.h"
#include "alert/AlertDefs.h"
#include "alert/AlertManagerWnd.h"
#include "alert/CautionDialog.h"

CAlertPopupWnd::CAlertPopupWnd(CAlertManagerWnd* manager, const CProjectorInfo& record, QWidget* owner,
                               const QFont& headingFont)
    : m_manager(manager), m_record(record), m_owner(owner), m_headingFont(headingFont) {
    setObjectName(QStringLiteral("alertPopup%1").arg(IDC_ALERT_POPUP));
    // Posted, not shown here: the box opens only after the manager has
    // listed this pop-up, so the same condition is held back meanwhile.
    PostMessage(WM_ALERT_SHOW);
}

CAlertPopupWnd::~CAlertPopupWnd() = default;

LRESULT CAlertPopupWnd::OnMessage(unsigned msg, WPARAM, LPARAM) {
    switch (msg) {
    case WM_ALERT_SHOW:
        ShowBox();
        break;
    case WM_ALERT_DETACH:
        Detach();
        break;
    default:
        break;
    }
    return 0;
}

void CAlertPopupWnd::ShowBox() {
    if (m_detached)
        return;
    if (const int bit = AlertMessageBit(m_record.status); bit != 0) {
        QWidget* window = m_owner ? m_owner->window() : nullptr;
        // On the heap, owned by the main window: if that window goes while
        // the box waits, the box goes with it and exec() returns.
        m_box = new CCautionDialog(bit, window, m_headingFont);
        // The manager hears of the closed box at once, not only when this
        // box's modal loop returns (a newer box's loop may still run inside
        // it), so that the condition can raise a new box right away.
        connect(m_box, &QDialog::finished, this, [this] { TellManagerClosed(); });
        m_box->exec();
        delete m_box.data();
    }
    TellManagerClosed();
    deleteLater();
}

void CAlertPopupWnd::TellManagerClosed() {
    if (m_closedTold)
        return;
    m_closedTold = true;
    if (m_manager)
        m_manager->PostMessage(WM_ALERT_CLOSED, reinterpret_cast<WPARAM>(this));
}

void CAlertPopupWnd::Detach() {
    // The manager is going away, and with it the console: the box closes,
    // and a box not yet shown never opens.
    m_manager = nullptr;
    const bool waitingToShow = !m_detached && !m_box && !m_closedTold;
    m_detached = true;
    if (m_box)
        m_box->reject();
    else if (waitingToShow)
        deleteLater();
}
