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

void PostOwnedMessage(QObject* target, unsigned msg, WPARAM wParam, LPARAM lParam,
                      CWndMessageEvent::ReleaseFn release) {
    if (!target) {
        if (release)
            release(wParam);
        return;
    }
    QCoreApplication::postEvent(target, new CWndMessageEvent(msg, wParam, lParam, release));
}

CMsgWnd::CMsgWnd(QObject* parent) : QObject(parent) {}

CMsgWnd::~CMsgWnd() = default;  // timers are children and go with the object

void CMsgWnd::PostMessage(unsigned msg, WPARAM wParam, LPARAM lParam) {
    ::PostMessage(this, msg, wParam, lParam);
}

LRESULT CMsgWnd::SendMessage(unsigned msg, WPARAM wParam, LPARAM lParam) {
    return OnMessage(msg, wParam, lParam);
}

void CMsgWnd::SetTimer(int id, int ms) {
    QTimer*& timer = m_timers[id];
    if (!timer) {
        timer = new QTimer(this);
        QObject::connect(timer, &QTimer::timeout, this, [this, id] { OnTimer(id); });
    }
    timer->start(ms);
}

void CMsgWnd::KillTimer(int id) {
    auto it = m_timers.find(id);
    if (it == m_timers.end())
        return;
    it->second->stop();
    it->second->deleteLater();
    m_timers.erase(it);
}

bool CMsgWnd::HasTimer(int id) const { return m_timers.count(id) != 0; }

LRESULT CMsgWnd::OnMessage(unsigned, WPARAM, LPARAM) { return 0; }

void CMsgWnd::OnTimer(int) {}

bool CMsgWnd::event(QEvent* event) {
    if (event->type() == CWndMessageEvent::EventType()) {
        auto* m = static_cast<CWndMessageEvent*>(event);
        m->HandOver();
        OnMessage(m->msg, m->wParam, m->lParam);
        return true;
    }
    return QObject::event(event);
}
