#include "ui/PropSheetMail.h"

#include "mail/MailDefs.h"
#include "mail/MailObject.h"
#include "platform/ResourceText.h"
#include "ui/PropPageMailError.h"
#include "ui/PropPageMailOriginator.h"
#include "ui/PropPageMailPeriodical.h"
#include "ui/PropPageMailRecipient.h"
#include "ui/UiDefs.h"
#include "ui/UiFont.h"

CPropSheetMail::CPropSheetMail(QWidget* view, const IClock& clock)
    : TMsgWnd<CPropSheet>(QString::fromStdString(ResourceText(IDS_MAIL_SHEET)), view), m_view(view), m_clock(clock) {
    QFont font;
    if (MakeUiFont(font))
        setFont(font);
}

void CPropSheetMail::BuildPages() {
    if (m_originator)
        return;
    m_originator = new CPropPageMailOriginator(m_settings.originator);
    m_recipient = new CPropPageMailRecipient(m_settings.recipients, this, m_clock);
    m_error = new CPropPageMailError(m_settings.error);
    m_periodical = new CPropPageMailPeriodical(m_settings.periodical, m_clock);
    for (CPropPage* page : std::initializer_list<CPropPage*>{m_originator, m_recipient, m_error, m_periodical})
        AddPage(page);
}

void CPropSheetMail::TakePages() {
    if (!m_originator)
        return;
    m_settings.originator = m_originator->Record();
    m_settings.recipients = m_recipient->Record();
    m_settings.error = m_error->Record();
    m_settings.periodical = m_periodical->Record();
}

int CPropSheetMail::DoModal() {
    BuildPages();
    if (exec() != QDialog::Accepted)
        return PROPSHEET_CANCEL;
    TakePages();
    return PROPSHEET_OK;
}

LRESULT CPropSheetMail::OnMessage(unsigned msg, WPARAM wParam, LPARAM) {
    if (msg != WM_MAIL_SEND_NOW || !m_view || !m_originator)
        return 0;
    auto* mail = reinterpret_cast<CMailObject*>(wParam);
    if (!mail)
        return 0;
    // The originator as applied on its page, not as typed there now.
    const CMailOriginatorInfo& from = m_originator->Record();
    mail->server = from.server;
    mail->senderName = from.senderName;
    mail->senderAddress = from.senderAddress;
    mail->senderInfo = from.senderInfo;
    ::SendMessage(m_view, WM_MAIL_SEND_NOW, wParam);
    return 0;
}
