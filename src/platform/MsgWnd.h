#pragma once
// CMsgWnd plays the part of a framework window for the core libraries: an
// object living on the thread that created it, receiving numbered messages
// posted from any thread and numbered timers. Hidden windows (the engine, the
// mail window) derive from it; their Qt parent is the view, so destroying the
// view destroys them.

#include <cstdint>
#include <map>

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
    CWndMessageEvent(unsigned msg, WPARAM wParam, LPARAM lParam);
    static QEvent::Type EventType();

    unsigned msg;
    WPARAM wParam;
    LPARAM lParam;
};

// Posts a message to any object that understands CWndMessageEvent (a CMsgWnd
// or a view that dispatches them). Thread-safe; never waits for the receiver.
void PostMessage(QObject* target, unsigned msg, WPARAM wParam = 0, LPARAM lParam = 0);

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
