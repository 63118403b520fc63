#pragma once
// CMailNotifier: the view's mail logic, kept apart from widgets. It composes
// the error mail when a projector turns to an error the operator ticked, keeps
// the periodic report schedule (checked by the view's one-second timer), asks
// the engine for a tracked refresh before a report and composes the report
// when that refresh is done, and carries the settings sheet's "send now".
// The main view owns it; it reads the view's settings and hands mails to the
// mail window's queue. Its "now" comes from an injectable clock.
#include <memory>
#include <string>
#include <vector>

#include "platform/Clock.h"
#include "platform/DateTime.h"

class CMailObject;
class CMailSetInfo;
class CProjectorInfo;

// Where finished mails go (the mail window).
class IMailQueue {
public:
    virtual ~IMailQueue() = default;
    // Queues a copy of mail; 0, or -1 when it cannot be queued.
    virtual int Enqueue(const CMailObject& mail) = 0;
};

// What the mail logic needs from the view: the fleet, its named groups and
// the communication engine.
class IMailHost {
public:
    virtual ~IMailHost() = default;
    // Every projector record, in the order of the all-projectors group.
    virtual std::vector<const CProjectorInfo*> AllProjectors() const = 0;
    // The named groups, in tab order (the all-projectors group not counted).
    virtual int GroupCount() const = 0;
    virtual std::string GroupName(int index) const = 0;
    virtual bool GroupContains(int index, const CProjectorInfo* record) const = 0;
    // False while there is no communication engine window.
    virtual bool HasCommWindow() const = 0;
    // The engine's RequestUpdateAll; with track set it reports when every
    // projector has answered (the view then calls OnRefreshDone()).
    virtual void RequestUpdateAll(bool track) = 0;
};

class CMailNotifier {
public:
    explicit CMailNotifier(const IClock& clock = SystemClock());
    ~CMailNotifier();
    CMailNotifier(const CMailNotifier&) = delete;
    CMailNotifier& operator=(const CMailNotifier&) = delete;

    // Null means "not loaded" / "no mail window" / "no communication window".
    void SetSettings(const CMailSetInfo* settings) { m_settings = settings; }
    void SetQueue(IMailQueue* queue) { m_queue = queue; }
    void SetHost(IMailHost* host) { m_host = host; }

    // Originator and the recipients ticked for mail's kind; -1 when mail is
    // null or the settings are not loaded.
    int FillMailSettings(CMailObject* mail) const;
    // One CSV row for record (error mail) or one per projector (report).
    std::string MakeCsvRows(int kind, const CProjectorInfo* record = nullptr) const;
    // The first named group, in tab order, that holds the projector; "" for none.
    std::string GroupNameOf(const CProjectorInfo* record) const;
    CDateTime ComputeNextReportTime() const;

    // The engine reported that record's status became the error value
    // status. The mail tells that status even when the record has moved on
    // since (a recovery handled first must not lose or change the error).
    void OnProjectorError(const CProjectorInfo* record, int status);
    // The view's one-second timer: asks for the report when it is due.
    void OnTimer();
    // Asks for a report to the periodic recipients now, as the schedule does.
    void RequestScheduledReport();
    // The engine's tracked refresh is done: compose the report that was asked for.
    void OnRefreshDone();
    // The settings sheet's send-now: a report to mail's recipient after a refresh.
    void OnSendReportNow(const CMailObject* mail);
    // At the view's creation and after the mail settings are confirmed.
    void RestartSchedule();

    CDateTime NextReportTime() const { return m_nextReportTime; }
    bool ReportPending() const { return m_reportPending; }
    bool HasPreparedReport() const { return m_preparedReport != nullptr; }

private:
    // The date and time columns of rows made now.
    void RowStamp(std::string& date, std::string& time) const;
    std::string CsvRow(int kind, const CProjectorInfo& record, const std::string& group, const std::string& date,
                       const std::string& time) const;

    const IClock& m_clock;
    const CMailSetInfo* m_settings = nullptr;
    IMailQueue* m_queue = nullptr;
    IMailHost* m_host = nullptr;
    CDateTime m_nextReportTime = CDateTime::Never();
    bool m_reportPending = false;
    std::unique_ptr<CMailObject> m_preparedReport;
};
