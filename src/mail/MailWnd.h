#pragma once
// CMailWnd: the hidden mail window, a child of the main view. It owns the
// outgoing queue and sends the oldest mail once a second, one at a time, on a
// sending thread that talks to the server through a CMimeSMTP client and
// posts WM_MAIL_DONE when it ends. Nothing is retried or shown: a mail that
// cannot be sent is dropped.
//
// The thread shares one small state record with the window (stop flag,
// running flag, the window's address) and holds its own reference to the mail
// it sends. When the thread outlives the stop limit at destruction, the window
// detaches it and forgets itself in the shared record: the thread then ends on
// its own time, never posts to the destroyed window, and the mail it still
// reads is freed by the thread's last reference.
#include <deque>
#include <functional>
#include <memory>
#include <thread>

#include "mail/MailNotifier.h"
#include "platform/MsgWnd.h"

class CMailObject;

class CMailWnd : public CMsgWnd, public IMailQueue {
public:
    CMailWnd(QObject* parent, int japanese);
    ~CMailWnd() override;

    // Queues a copy of mail (the caller keeps its own); 0, or -1 when no copy can be made.
    int Enqueue(const CMailObject& mail) override;

    // Asks the sending thread to give up at its next step (no wait).
    void RequestStop();
    // Asks the thread to stop and waits for it up to the stop limit; 0 when it
    // ended (or none ran), -1 when it still runs.
    int StopThread();

    int QueueLength() const { return static_cast<int>(m_queue.size()); }
    bool IsSending() const { return m_currentMail != nullptr; }
    // Called on the window's thread with the result of each send, after the mail is dropped.
    void SetDoneHandler(std::function<void(int result)> handler) { m_doneHandler = std::move(handler); }
    void SetStopLimitMs(int ms) { m_stopLimitMs = ms; }
    // Sending threads of all windows that have not ended yet (detached ones included).
    static int LiveThreads();

    // One mail through one client, as the sending thread runs it; stopRequested
    // is read before each step and after each recipient.
    static int SendOne(const CMailObject& mail, int japanese, const std::function<bool()>& stopRequested);

protected:
    LRESULT OnMessage(unsigned msg, WPARAM wParam, LPARAM lParam) override;
    void OnTimer(int id) override;

private:
    struct ThreadState;

    int StartMail(std::unique_ptr<CMailObject> mail);
    bool ThreadRunning() const;
    static void ThreadMain(std::shared_ptr<ThreadState> state, std::shared_ptr<const CMailObject> mail,
                           int japanese);

    std::deque<std::unique_ptr<CMailObject>> m_queue;
    std::shared_ptr<ThreadState> m_state;
    std::shared_ptr<const CMailObject> m_currentMail;
    std::thread m_thread;
    int m_japanese;
    int m_stopLimitMs;
    std::function<void(int)> m_doneHandler;
};
