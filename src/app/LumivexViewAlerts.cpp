// CLumivexView, continued: what the operator learns of projector errors (the
// error mail, the caution box, the error log line), and the alert and mail
// settings commands.
#include "app/LumivexView.h"

#include "alert/AlertManagerWnd.h"
#include "alert/AlertSetting.h"
#include "alert/ErrorLog.h"
#include "comm/ProjectorInfo.h"
#include "mail/MailSetInfo.h"
#include "settings/AlertSetInfo.h"
#include "ui/PropSheetMail.h"
#include "ui/UiFont.h"

namespace {
constexpr int kCautionHeadingPixels = 16;
}

void CLumivexView::CreateAlerts() {
    m_errorLog = std::make_unique<CErrorLog>(*m_clock);
    m_alertManager = new CAlertManagerWnd(this, this);
    QFont heading;
    if (MakeUiFont(heading, kCautionHeadingPixels))
        m_alertManager->SetHeadingFont(heading);
}

void CLumivexView::DestroyAlerts() {
    // Its pop-ups close their boxes as it goes.
    delete m_alertManager;
    m_alertManager = nullptr;
}

void CLumivexView::OnProjectorError(const CProjectorInfo* record, int status) {
    // A record deleted after the engine posted is not touched.
    if (!IsLiveRecord(record) || !IsErrorStatus(status))
        return;
    // Every step tells the error as it was announced: the record may hold a
    // later result by now (a recovery, another error).
    CProjectorInfo announced(*record);
    announced.status = status;
    m_notifier.OnProjectorError(record, status);
    const auto kind = static_cast<size_t>(ErrorKindOf(status));
    if (m_alert && m_alertManager && m_alert->alertStatus[kind])
        m_alertManager->AddAlert(&announced);
    if (m_errorLog)
        m_errorLog->WriteErrorLogLine(announced, m_alert.get());
}

void CLumivexView::OnAlertSettings() {
    CAlertSetting dialog(*m_alert, m_errorLog ? m_errorLog->LostLines() : 0, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    *m_alert = dialog.Settings();
    m_alert->Save();
}

void CLumivexView::OnMailSettings() {
    CPropSheetMail sheet(this, *m_clock);
    sheet.Settings() = *m_mail;
    // Apply as well as OK: what the sheet shows as applied is in force.
    connect(&sheet, &CPropSheet::Applied, this, [this, &sheet] {
        sheet.TakePages();
        *m_mail = sheet.Settings();
        m_mail->Save();
        m_notifier.RestartSchedule();
    });
    sheet.DoModal();
}
