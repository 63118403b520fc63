#include "mail/MailNotifier.h"

#include "comm/CommDefs.h"
#include "comm/ProjectorInfo.h"
#include "mail/MailDefs.h"
#include "mail/MailObject.h"
#include "mail/MailSetInfo.h"
#include "mail/MailText.h"
#include "platform/ResourceText.h"

namespace {

// Board texts (names, serials) may hold a comma, a quote or a line break;
// such a field is quoted so that it cannot split the row or the file.
std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

}  // namespace

CMailNotifier::CMailNotifier(const IClock& clock) : m_clock(clock) {}

CMailNotifier::~CMailNotifier() = default;

int CMailNotifier::FillMailSettings(CMailObject* mail) const {
    if (!mail || !m_settings)
        return -1;
    const CMailOriginatorInfo& from = m_settings->originator;
    mail->server = from.server;
    mail->senderName = from.senderName;
    mail->senderAddress = from.senderAddress;
    mail->senderInfo = from.senderInfo;
    for (const CMailRecipient& slot : m_settings->recipients.entries) {
        int ticked = mail->kind == MAIL_KIND_ERROR ? slot.errorMail : slot.periodicReport;
        if (ticked && !slot.address.empty())
            mail->recipients.push_back(slot.address);
    }
    return 0;
}

std::string CMailNotifier::GroupNameOf(const CProjectorInfo* record) const {
    if (!m_host || !record)
        return {};
    for (int i = 0; i < m_host->GroupCount(); ++i)
        if (m_host->GroupContains(i, record))
            return m_host->GroupName(i);
    return {};
}

std::string CMailNotifier::CsvRow(int kind, const CProjectorInfo& record, const std::string& group,
                                  const std::string& date, const std::string& time) const {
    std::vector<std::string> fields = {date, time, "-", "LAN", group, record.name,
                                       record.serialNumber, record.StatusText()};
    if (kind == MAIL_KIND_ERROR) {
        fields.push_back(record.ipAddress);
    } else {
        fields.insert(fields.end(), {record.lamp1Time, record.lamp2Time, record.ttavText, record.ipAddress});
    }
    std::string row;
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i)
            row += ',';
        row += CsvField(fields[i]);
    }
    return row + "\n";
}

void CMailNotifier::RowStamp(std::string& date, std::string& time) const {
    const CDateTime now = m_clock.Now();
    date = now.Format("%Y/%b/%d");
    time = now.Format("%H:%M:%S");
}

std::string CMailNotifier::MakeCsvRows(int kind, const CProjectorInfo* record) const {
    // One moment for every row of the mail.
    std::string date, time;
    RowStamp(date, time);
    if (kind == MAIL_KIND_ERROR)
        return record ? CsvRow(kind, *record, GroupNameOf(record), date, time) : std::string();
    std::string rows;
    if (m_host)
        for (const CProjectorInfo* projector : m_host->AllProjectors())
            if (projector)
                rows += CsvRow(kind, *projector, GroupNameOf(projector), date, time);
    return rows;
}

CDateTime CMailNotifier::ComputeNextReportTime() const {
    return m_settings ? m_settings->periodical.NextTime(m_clock.Now()) : CDateTime::Never();
}

void CMailNotifier::OnProjectorError(const CProjectorInfo* record, int status) {
    if (!m_settings || !m_queue || !record)
        return;
    int category = ErrorKindOf(status);
    if (category < 0 || category >= MAIL_ERROR_KIND_COUNT || !m_settings->error.flags[static_cast<size_t>(category)])
        return;
    CMailObject mail;
    mail.timeStamp = m_clock.Now();
    mail.kind = MAIL_KIND_ERROR;
    if (FillMailSettings(&mail) != 0)
        return;
    // The record as it was when the error was announced.
    CProjectorInfo announced(*record);
    announced.status = status;
    std::string extra = FormatResourceText(TEXT_MAIL_ERROR, {announced.StatusText()}) +
                        ResourceText(TEXT_MAIL_ERROR_TO_PROJECTOR) +
                        FormatResourceText(TEXT_MAIL_PROJECTOR, {announced.name, announced.ipAddress});
    std::string date, time;
    RowStamp(date, time);
    std::string rows = CsvRow(MAIL_KIND_ERROR, announced, GroupNameOf(record), date, time);
    if (mail.BuildText(extra) == 0)
        mail.BuildCsv(rows);
    m_queue->Enqueue(mail);
}

void CMailNotifier::OnTimer() {
    if (m_clock.Now() < m_nextReportTime)
        return;
    RequestScheduledReport();
    m_nextReportTime = ComputeNextReportTime();
}

void CMailNotifier::RequestScheduledReport() {
    if (m_queue && m_host && m_host->HasCommWindow()) {
        m_host->RequestUpdateAll(true);
        m_reportPending = true;
    }
}

void CMailNotifier::OnRefreshDone() {
    if (!m_reportPending)
        return;
    std::unique_ptr<CMailObject> mail = std::move(m_preparedReport);
    if (!mail) {
        mail = std::make_unique<CMailObject>();
        mail->timeStamp = m_clock.Now();
        mail->kind = MAIL_KIND_REPORT;
        if (FillMailSettings(mail.get()) != 0) {
            m_reportPending = false;
            return;
        }
    }
    if (m_queue) {
        std::string rows = MakeCsvRows(MAIL_KIND_REPORT);
        if (mail->BuildText() == 0)
            mail->BuildCsv(rows);
        m_queue->Enqueue(*mail);
    }
    m_reportPending = false;
}

void CMailNotifier::OnSendReportNow(const CMailObject* mail) {
    if (!m_host || !m_host->HasCommWindow() || !mail || m_reportPending || m_preparedReport)
        return;
    m_preparedReport = std::make_unique<CMailObject>();
    m_preparedReport->CopyFrom(*mail);
    m_reportPending = true;
    m_host->RequestUpdateAll(true);
}

void CMailNotifier::RestartSchedule() { m_nextReportTime = ComputeNextReportTime(); }
