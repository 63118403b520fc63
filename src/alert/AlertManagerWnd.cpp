#include "alert/AlertManagerWnd.h"

#include <new>

#include <QWidget>

#include "alert/AlertDefs.h"
#include "alert/AlertPopupWnd.h"
#include "comm/ProjectorInfo.h"

CAlertManagerWnd::CAlertManagerWnd(QObject* parent, QWidget* owner) : CMsgWnd(parent), m_owner(owner) {
    setObjectName(QStringLiteral("alertManager%1").arg(IDC_ALERT_MANAGER));
}

CAlertManagerWnd::~CAlertManagerWnd() {
    // Sent, not posted: the pop-ups must forget this manager before it is gone.
    for (CAlertPopupWnd* popup : Popups())
        popup->SendMessage(WM_ALERT_DETACH);
}

int CAlertManagerWnd::AddAlert(const CProjectorInfo* record) {
    if (!record)
        return -1;
    if (HasAlertFor(record->status))
        return 0;
    auto* popup = new (std::nothrow) CAlertPopupWnd(this, *record, m_owner, m_headingFont);
    if (!popup)
        return -1;
    m_list.Append(popup, record->status);
    return 1;
}

int CAlertManagerWnd::HasAlertFor(int status) const { return m_list.HasAlertFor(status) ? 1 : 0; }

std::vector<CAlertPopupWnd*> CAlertManagerWnd::Popups() const {
    std::vector<CAlertPopupWnd*> popups;
    for (QObject* popup : m_list.Popups())
        popups.push_back(static_cast<CAlertPopupWnd*>(popup));
    return popups;
}

LRESULT CAlertManagerWnd::OnMessage(unsigned msg, WPARAM wParam, LPARAM) {
    // Only unlinked: the pop-up releases itself once its box has returned.
    if (msg == WM_ALERT_CLOSED)
        m_list.Remove(reinterpret_cast<const QObject*>(wParam));
    return 0;
}
