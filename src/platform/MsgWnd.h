#pragma once
// CMsgWnd plays the part of a framework window for the core libraries: an
// object living on the thread that created it, receiving numbered messages
// posted from any thread and numbered timers. Hidden windows (the engine, the
// mail window) derive from it; their Qt parent is the view, so destroying the
// view destroys them.

#include <cstdint>
#include <map>
#include <memory>

#include <QEvent>
#include <QObject>

class QTimer;

using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;

constexpr unsigned WM_USER = 0x400;

// The event that carries a posted message across threads.
class CWndMessageEvent : public QEvent {
public:
    // Frees a heap wParam that travels with the message (see PostOwnedMessage).
    using ReleaseFn = void (*)(WPARAM);

    CWndMessageEvent(unsigned msg, WPARAM wParam, LPARAM lParam, ReleaseFn release = nullptr);
    ~CWndMessageEvent() override;
    CWndMessageEvent(const CWndMessageEvent&) = delete;
    CWndMessageEvent& operator=(const CWndMessageEvent&) = delete;
    static QEvent::Type EventType();

    // Whoever dispatches the message calls this just before the handler runs:
    // from then on the handler owns an owned wParam and frees it.
    void HandOver() { m_release = nullptr; }

    unsigned msg;
    WPARAM wParam;
    LPARAM lParam;

private:
    ReleaseFn m_release;
};

// Posts a message to any object that understands CWndMessageEvent (a CMsgWnd
// or a view that dispatches them). Thread-safe; never waits for the receiver.
void PostMessage(QObject* target, unsigned msg, WPARAM wParam = 0, LPARAM lParam = 0);

void PostOwnedMessage(QObject* target, unsigned msg, WPARAM wParam, LPARAM lParam, CWndMessageEvent::ReleaseFn release);

// Posts a message whose wParam points to heap data for the receiver. The
// receiver's handler owns the data from the moment it is called and deletes
// it (as a T). A message that is never handled, because its receiver is
// destroyed first or there is none, deletes the data itself, so a message in
// flight at shutdown leaks nothing.
template <class T>
void PostOwnedMessage(QObject* target, unsigned msg, std::unique_ptr<T> data, LPARAM lParam = 0) {
    if (!target || !data)
        return;
    PostOwnedMessage(target, msg, reinterpret_cast<WPARAM>(data.release()), lParam,
                     [](WPARAM owned) { delete reinterpret_cast<T*>(owned); });
}

class CMsgWnd : public QObject {
public:
    explicit CMsgWnd(QObject* parent = nullptr);
    ~CMsgWnd() override;

    // Thread-safe: queues the message for the owning thread.
    void PostMessage(unsigned msg, WPARAM wParam = 0, LPARAM lParam = 0);
    // Owning thread only: handles the message at once.
    LRESULT SendMessage(unsigned msg, WPARAM wParam = 0, LPARAM lParam = 0);

    // Owning thread only. Setting an id again restarts it with the new period.
    void SetTimer(int id, int ms);
    void KillTimer(int id);
    bool HasTimer(int id) const;

protected:
    virtual LRESULT OnMessage(unsigned msg, WPARAM wParam, LPARAM lParam);
    virtual void OnTimer(int id);
    bool event(QEvent* event) override;

private:
    std::map<int, QTimer*> m_timers;
};
