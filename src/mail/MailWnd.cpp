#include "mail/MailWnd.h"

#include <atomic>
#include <mutex>
#include <new>

#include "mail/MailAttachList.h"
#include "mail/MailDefs.h"
#include "mail/MailObject.h"
#include "mail/MimeSMTP.h"
#include "platform/CriticalSection.h"
#include "platform/TickCount.h"

namespace {

std::atomic<int> g_liveThreads{0};

// How often a stop looks whether the thread has ended; short, since the
// thread usually ends within a few milliseconds of the request.
constexpr int kStopPollMs = 10;

}  // namespace

// Shared by the window and its sending thread; lives as long as either. The
// flags are read and written under the lock (which also makes "check the
// window, then mark posting" one step); they are atomics as well so that no
// access can ever be a data race, whatever path reaches it.
struct CMailWnd::ThreadState {
    CCriticalSection lock;
    std::atomic<bool> stop{false};
    std::atomic<bool> running{false};          // the thread handle of the design: set until the thread ends
    std::atomic<bool> posting{false};          // the thread is posting to window right now
    std::atomic<CMailWnd*> window{nullptr};    // null once the window is gone
};

CMailWnd::CMailWnd(QObject* parent, int japanese)
    : CMsgWnd(parent), m_state(std::make_shared<ThreadState>()), m_japanese(japanese),
      m_stopLimitMs(MAIL_STOP_LIMIT_MS) {
    m_state->window = this;
    SetTimer(MAIL_TIMER_ID, MAIL_TIMER_MS);
}

CMailWnd::~CMailWnd() {
    KillTimer(MAIL_TIMER_ID);
    if (StopThread() != 0) {
        // The thread outlived the limit: it keeps its own reference to the
        // mail; make sure it never posts to this window again.
        {
            CSingleLock guard(m_state->lock);
            m_state->window = nullptr;
        }
        for (;;) {
            {
                CSingleLock guard(m_state->lock);
                if (!m_state->posting)
                    break;
            }
            SleepMs(kStopPollMs);
        }
        m_thread.detach();
    }
}

int CMailWnd::LiveThreads() { return g_liveThreads.load(); }

int CMailWnd::Enqueue(const CMailObject& mail) {
    std::unique_ptr<CMailObject> copy(new (std::nothrow) CMailObject);
    if (!copy)
        return -1;
    copy->CopyFrom(mail);
    m_queue.push_back(std::move(copy));
    return 0;
}

bool CMailWnd::ThreadRunning() const {
    CSingleLock guard(m_state->lock);
    return m_state->running;
}

void CMailWnd::OnTimer(int id) {
    if (id != MAIL_TIMER_ID || m_currentMail || m_queue.empty())
        return;
    // A thread that has posted its result but not yet ended keeps the next
    // mail in the queue until the next tick, instead of costing it.
    if (ThreadRunning())
        return;
    std::unique_ptr<CMailObject> mail = std::move(m_queue.front());
    m_queue.pop_front();
    StartMail(std::move(mail));  // a refused mail is freed here
}

int CMailWnd::StartMail(std::unique_ptr<CMailObject> mail) {
    if (!mail || m_currentMail || !mail->IsValid() || ThreadRunning())
        return -1;
    if (m_thread.joinable())
        m_thread.join();  // the previous thread has already ended its work
    std::shared_ptr<const CMailObject> current(std::move(mail));
    {
        CSingleLock guard(m_state->lock);
        m_state->stop = false;
        m_state->running = true;
    }
    try {
        ++g_liveThreads;
        m_thread = std::thread(&CMailWnd::ThreadMain, m_state, current, m_japanese);
    } catch (const std::system_error&) {
        --g_liveThreads;
        CSingleLock guard(m_state->lock);
        m_state->running = false;
        return -1;
    }
    m_currentMail = std::move(current);
    return 0;
}

void CMailWnd::ThreadMain(std::shared_ptr<ThreadState> state, std::shared_ptr<const CMailObject> mail,
                          int japanese) {
    auto stopRequested = [&state] {
        CSingleLock guard(state->lock);
        return state->stop.load();
    };
    int result = SendOne(*mail, japanese, stopRequested);

    CMailWnd* target = nullptr;
    {
        CSingleLock guard(state->lock);
        target = state->window;
        state->posting = target != nullptr;
    }
    if (target)
        ::PostMessage(target, WM_MAIL_DONE, static_cast<WPARAM>(static_cast<LPARAM>(result)), 0);
    {
        CSingleLock guard(state->lock);
        state->posting = false;
        state->running = false;
    }
    mail.reset();
    state.reset();
    --g_liveThreads;
}

int CMailWnd::SendOne(const CMailObject& mail, int japanese, const std::function<bool()>& stopRequested) {
    CMimeSMTP client(japanese);
    client.Attachments().CopyFrom(mail.attachments);

    if (stopRequested())
        return MAIL_RESULT_STOPPED;
    if (!client.Connect(mail.server))
        return MAIL_RESULT_CONNECT_FAILED;
    // Every early exit below disconnects through the client's destructor.
    if (stopRequested())
        return MAIL_RESULT_STOPPED;
    // HELO names the mail server itself, not this workstation.
    if (client.Hello(mail.server) != SMTP_OK)
        return MAIL_RESULT_HELLO_FAILED;
    if (stopRequested())
        return MAIL_RESULT_STOPPED;
    client.SetSender(CMimeSMTP::OriginatorForm(mail.senderName, mail.senderAddress, true));
    if (client.MailFrom(CMimeSMTP::OriginatorForm(mail.senderName, mail.senderAddress, false)) != SMTP_OK)
        return MAIL_RESULT_MAIL_FROM_FAILED;
    if (stopRequested())
        return MAIL_RESULT_STOPPED;
    for (const std::string& address : mail.recipients) {
        if (client.RcptTo(address) != SMTP_OK)
            return MAIL_RESULT_RCPT_TO_FAILED;
        if (stopRequested())
            return MAIL_RESULT_STOPPED;
    }
    if (client.SendMail(mail.subject, mail.body) != SMTP_OK)
        return MAIL_RESULT_SEND_MAIL_FAILED;
    if (stopRequested())
        return MAIL_RESULT_STOPPED;
    client.Quit();
    client.Disconnect();
    return MAIL_RESULT_SENT;
}

LRESULT CMailWnd::OnMessage(unsigned msg, WPARAM wParam, LPARAM lParam) {
    if (msg != WM_MAIL_DONE)
        return CMsgWnd::OnMessage(msg, wParam, lParam);
    m_currentMail.reset();
    if (m_doneHandler)
        m_doneHandler(static_cast<int>(static_cast<LPARAM>(wParam)));
    return 0;
}

void CMailWnd::RequestStop() {
    CSingleLock guard(m_state->lock);
    m_state->stop = true;
}

int CMailWnd::StopThread() {
    if (!ThreadRunning()) {
        if (m_thread.joinable())
            m_thread.join();
        return 0;
    }
    RequestStop();
    const std::int64_t start = TickCount();
    while (ThreadRunning()) {
        if (TickCount() - start >= m_stopLimitMs)
            return -1;
        SleepMs(kStopPollMs);
    }
    if (m_thread.joinable())
        m_thread.join();
    return 0;
}
