#include <atomic>
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

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
