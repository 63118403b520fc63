#include "platform/MsgWnd.h"

#include <QCoreApplication>
#include <QTimer>

CWndMessageEvent::CWndMessageEvent(unsigned m, WPARAM w, LPARAM l, ReleaseFn release)
    : QEvent(EventType()), msg(m), wParam(w), lParam(l), m_release(release) {}

CWndMessageEvent::~CWndMessageEvent() {
    if (m_release)
        m_release(wParam);
}

QEvent::Type CWndMessageEvent::EventType() {
    static const QEvent::Type type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

void PostMessage(QObject* target, unsigned msg, WPARAM wParam, LPARAM lParam) {
    if (target)
        QCoreApplication::postEvent(target, new CWndMessageEvent(msg, wParam, lParam));
}

void SendMessage(QObject* target, unsigned msg, WPARAM wParam, LPARAM lParam) {
    if (!target)
        return;
    CWndMessageEvent event(msg, wParam, lParam);
    QCoreApplication::sendEvent(target, &event);
}

void PostOwnedMessage(QObject* target, unsigned msg, WPARAM wParam, LPARAM lParam,
                      CWndMessageEvent::ReleaseFn release) {
    if (!target) {
        if (release)
            release(wParam);
        return;
    }
    QCoreApplication::postEvent(target, new CWndMessageEvent(msg, wParam, lParam, release));
}

void CWndTimers::Set(QObject* owner, int id, int ms, std::function<void(int)> onTick) {
    QTimer*& timer = m_timers[id];
    if (!timer) {
        timer = new QTimer(owner);
        QObject::connect(timer, &QTimer::timeout, owner, [onTick = std::move(onTick), id] { onTick(id); });
    }
    timer->start(ms);
}

void CWndTimers::Kill(int id) {
    auto it = m_timers.find(id);
    if (it == m_timers.end())
        return;
    it->second->stop();
    it->second->deleteLater();
    m_timers.erase(it);
}
