#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include <QCoreApplication>

#include <gtest/gtest.h>

#include "platform/AutoResetEvent.h"
#include "platform/EventWait.h"
#include "platform/MsgWnd.h"

namespace {

class RecordingWnd : public CMsgWnd {
public:
    std::vector<unsigned> messages;
    std::vector<WPARAM> params;
    int ticks = 0;

protected:
    LRESULT OnMessage(unsigned msg, WPARAM wParam, LPARAM) override {
        messages.push_back(msg);
        params.push_back(wParam);
        return 7;
    }
    void OnTimer(int id) override {
        if (id == 128)
            ++ticks;
    }
};

bool ProcessUntil(const std::function<bool()>& done, int ms = 5000) { return RunEventsUntil(done, ms); }

}  // namespace

TEST(MsgWnd, PostedMessagesArriveInOrderFromAnyThread) {
    RecordingWnd wnd;
    std::thread poster([&] {
        for (WPARAM i = 0; i < 100; ++i)
            wnd.PostMessage(WM_USER + 5, i);
    });
    poster.join();
    ASSERT_TRUE(ProcessUntil([&] { return wnd.messages.size() == 100; }));
    for (WPARAM i = 0; i < 100; ++i)
        EXPECT_EQ(wnd.params[i], i);
    EXPECT_EQ(wnd.SendMessage(WM_USER + 1), 7);
    EXPECT_EQ(wnd.messages.back(), WM_USER + 1);
}

TEST(MsgWnd, NumberedTimerTicksUntilKilled) {
    RecordingWnd wnd;
    wnd.SetTimer(128, 10);
    ASSERT_TRUE(ProcessUntil([&] { return wnd.ticks >= 3; }));
    wnd.KillTimer(128);
    EXPECT_FALSE(wnd.HasTimer(128));
    int seen = wnd.ticks;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_EQ(wnd.ticks, seen);
}

namespace {

// Counts the payloads alive so a test sees each freed exactly once.
struct Payload {
    static inline int alive = 0;
    int value;
    explicit Payload(int v) : value(v) { ++alive; }
    ~Payload() { --alive; }
};

// Takes every payload it is handed, as a receiver of owned messages must.
class PayloadTaker : public CMsgWnd {
public:
    std::vector<int> values;

protected:
    LRESULT OnMessage(unsigned, WPARAM wParam, LPARAM) override {
        std::unique_ptr<Payload> payload(reinterpret_cast<Payload*>(wParam));
        values.push_back(payload->value);
        return 0;
    }
};

}  // namespace

TEST(MsgWnd, OwnedPayloadGoesToTheHandlerThatFreesIt) {
    PayloadTaker wnd;
    std::thread poster([&] { PostOwnedMessage(&wnd, WM_USER + 35, std::make_unique<Payload>(42)); });
    poster.join();
    ASSERT_TRUE(ProcessUntil([&] { return !wnd.values.empty(); }));
    EXPECT_EQ(wnd.values, std::vector<int>{42});
    EXPECT_EQ(Payload::alive, 0);
}

TEST(MsgWnd, OwnedPayloadOfAMessageNeverHandledIsFreed) {
    auto* wnd = new PayloadTaker;
    PostOwnedMessage(wnd, WM_USER + 35, std::make_unique<Payload>(1));
    PostOwnedMessage(wnd, WM_USER + 35, std::make_unique<Payload>(2));
    EXPECT_EQ(Payload::alive, 2);
    delete wnd;  // the receiver goes before its messages are handled
    EXPECT_EQ(Payload::alive, 0);
    PostOwnedMessage(nullptr, WM_USER + 35, std::make_unique<Payload>(3));
    EXPECT_EQ(Payload::alive, 0);
}

TEST(AutoResetEvent, ReleasesOneWaitAndResets) {
    CAutoResetEvent event;
    EXPECT_FALSE(event.Wait(10));
    event.Set();
    EXPECT_TRUE(event.Wait(10));
    EXPECT_FALSE(event.Wait(10));
    std::atomic<bool> woke{false};
    std::thread waiter([&] { woke = event.Wait(5000); });
    event.Set();
    waiter.join();
    EXPECT_TRUE(woke);
}
