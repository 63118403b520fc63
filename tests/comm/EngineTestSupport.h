#pragma once
// Shared pieces of the engine tests: a view that records what the engine
// posts, an engine whose sessions stay inert (no worker threads), and access
// to a session's working record.
#include <functional>
#include <utility>
#include <vector>

#include <QCoreApplication>

#include "comm/CommWnd.h"
#include "comm/ProjectorInfo.h"
#include "comm/ValueProjectorInfo.h"
#include "platform/EventWait.h"
#include "platform/MsgWnd.h"

class RecordingView : public CMsgWnd {
public:
    struct Message {
        unsigned msg;
        WPARAM wParam;
        LPARAM lParam;
    };
    std::vector<Message> messages;
    std::function<void(const Message&)> onMessage;

    int Count(unsigned msg) const {
        int n = 0;
        for (const auto& m : messages)
            n += m.msg == msg;
        return n;
    }
    int Count(unsigned msg, const void* wParam) const {
        int n = 0;
        for (const auto& m : messages)
            n += m.msg == msg && m.wParam == reinterpret_cast<WPARAM>(wParam);
        return n;
    }

protected:
    LRESULT OnMessage(unsigned msg, WPARAM wParam, LPARAM lParam) override {
        messages.push_back({msg, wParam, lParam});
        if (onMessage)
            onMessage(messages.back());
        return 0;
    }
};

// Sessions of this engine never start a worker, so tests drive them by hand.
class InertEngine : public CCommWnd {
public:
    using CCommWnd::CCommWnd;
    using CCommWnd::SendMessage;

protected:
    int StartSessionThread(CValueProjectorInfo*) override { return 0; }
};

class SessionTestAccess {
public:
    static void Stage(CValueProjectorInfo* session, const std::function<void(CProjectorInfo&)>& edit) {
        session->WithWorking(edit);
    }
};

// Runs the event loop until done() holds or ms pass.
inline bool ProcessUntil(const std::function<bool()>& done, int ms = 5000) { return RunEventsUntil(done, ms); }

inline void DrainEvents() {
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents);
}
