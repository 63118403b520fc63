#pragma once
// CMsgWnd plays the part of a framework window for the core libraries: an
// object living on the thread that created it, receiving numbered messages
// posted from any thread and numbered timers. Hidden windows (the engine, the
// mail window) derive from it; their Qt parent is the view, so destroying the
// view destroys them.

#include <cstdint>
#include <functional>
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

// Hands a message to target's handler at once, on the calling thread, which
// must be target's: what a window sends rather than posts to another one
// whose class it does not know.
void SendMessage(QObject* target, unsigned msg, WPARAM wParam = 0, LPARAM lParam = 0);

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

// Takes a posted message off event and hands it to receiver.OnMessage: the
// one way every receiver of posted messages (the hidden windows here, and the
// view, the list and the controller, which are widgets) dispatches them, so an
// owned payload is taken over the same way everywhere. False for any other event.
template <class Receiver>
bool DispatchWndMessage(QEvent* event, Receiver& receiver) {
    if (event->type() != CWndMessageEvent::EventType())
        return false;
    auto* m = static_cast<CWndMessageEvent*>(event);
    m->HandOver();
    receiver.OnWndMessage(m->msg, m->wParam, m->lParam);
    return true;
}

// The numbered timers of a message window: each id is one repeating QTimer,
// child of owner, that calls onTick(id).
class CWndTimers {
public:
    // Setting an id again restarts it with the new period.
    void Set(QObject* owner, int id, int ms, std::function<void(int)> onTick);
    void Kill(int id);
    bool Has(int id) const { return m_timers.count(id) != 0; }

private:
    std::map<int, QTimer*> m_timers;
};

// A framework-style window over any QObject base (QObject for the hidden
// windows, QWidget for the view and the controls): messages posted from any
// thread, messages sent on the owning thread, numbered timers, and virtual
// handlers. Base's constructors are inherited.
template <class Base>
class TMsgWnd : public Base {
public:
    using Base::Base;

    // Thread-safe: queues the message for the owning thread.
    void PostMessage(unsigned msg, WPARAM wParam = 0, LPARAM lParam = 0) { ::PostMessage(this, msg, wParam, lParam); }
    // Owning thread only: handles the message at once.
    LRESULT SendMessage(unsigned msg, WPARAM wParam = 0, LPARAM lParam = 0) { return OnMessage(msg, wParam, lParam); }

    // Owning thread only. Setting an id again restarts it with the new period.
    void SetTimer(int id, int ms) {
        m_timers.Set(this, id, ms, [this](int tick) { OnTimer(tick); });
    }
    void KillTimer(int id) { m_timers.Kill(id); }
    bool HasTimer(int id) const { return m_timers.Has(id); }

    // DispatchWndMessage's entry point.
    void OnWndMessage(unsigned msg, WPARAM wParam, LPARAM lParam) { OnMessage(msg, wParam, lParam); }

protected:
    virtual LRESULT OnMessage(unsigned, WPARAM, LPARAM) { return 0; }
    virtual void OnTimer(int) {}
    bool event(QEvent* event) override { return DispatchWndMessage(event, *this) || Base::event(event); }

private:
    CWndTimers m_timers;
};

// The hidden windows of the core (the engine, the mail window).
class CMsgWnd : public TMsgWnd<QObject> {
public:
    explicit CMsgWnd(QObject* parent = nullptr) : TMsgWnd<QObject>(parent) {}
};
