// The engine's bookkeeping with inert sessions and an injected clock:
// result handling, tracked cycles, password queue, power-on spacing.
#include <memory>

#include <gtest/gtest.h>

#include "EngineTestSupport.h"
#include "comm/CommDefs.h"
#include "platform/Clock.h"
#include "settings/GroupItem.h"

namespace {

class EngineTest : public ::testing::Test {
protected:
    EngineTest() : engine(new InertEngine(&view, &clock)) {}

    // Adds n projectors to the All-like group and the engine.
    void AddProjectors(int n) {
        for (int i = 0; i < n; ++i) {
            CProjectorInfo seed;
            seed.ipAddress = "127.0.0." + std::to_string(i + 1);
            CProjectorInfo* record = nullptr;
            ASSERT_EQ(group.AddCopy(seed, &record), 0);
            ASSERT_EQ(engine->AddProjector(record), 0);
            records.push_back(record);
        }
    }
    CValueProjectorInfo* Session(int i) { return engine->FindSession(records[static_cast<size_t>(i)]); }
    // What a session's worker does for a poll: take the request, report the
    // result with the request's number.
    void Result(int i, int status) {
        SessionTestAccess::Stage(Session(i), [status](CProjectorInfo& w) { w.status = status; });
        const std::int64_t request = Session(i)->SetPollRequest(0);
        engine->SendMessage(WM_COMM_RESULT, reinterpret_cast<WPARAM>(Session(i)), static_cast<LPARAM>(request));
        DrainEvents();
    }
    void TickAfterMs(int ms) {
        clock.AdvanceMs(ms);
        engine->Tick();
        DrainEvents();
    }

    CFakeClock clock{CDateTime::FromParts(2026, 12, 8, 10, 0, 0)};
    RecordingView view;
    InertEngine* engine;  // a child of view
    CGroupItem group;
    std::vector<CProjectorInfo*> records;
};

}  // namespace

TEST_F(EngineTest, NewProjectorAsksForAPollAtOnce) {
    AddProjectors(1);
    EXPECT_EQ(Session(0)->IsPollRequested(), 1);
    EXPECT_EQ(engine->AddProjector(nullptr), -1);
    EXPECT_EQ(engine->RecordChanged(nullptr), -1);
}

TEST_F(EngineTest, TrackedCycleEndsWithTheLastResultInAnyOrder) {
    AddProjectors(3);
    engine->RequestUpdateAll(1);
    EXPECT_EQ(engine->TrackedCount(), 3);
    Result(2, STATUS_NORMAL);
    Result(0, STATUS_NORMAL);
    Result(2, STATUS_NORMAL);  // a second result of the same session does nothing more
    EXPECT_EQ(view.Count(WM_VIEW_UPDATE_DONE), 0);
    Result(1, STATUS_COMM_ERROR);
    EXPECT_EQ(view.Count(WM_VIEW_UPDATE_DONE), 1);
    Result(1, STATUS_NORMAL);
    EXPECT_EQ(view.Count(WM_VIEW_UPDATE_DONE), 1);
}

TEST_F(EngineTest, TrackedCycleIsNotEndedByPollsFromBeforeIt) {
    AddProjectors(2);
    // Both sessions polled for the request they got when added; their results
    // are still queued when the cycle begins.
    for (int i = 0; i < 2; ++i) {
        const std::int64_t request = Session(i)->SetPollRequest(0);
        engine->PostMessage(WM_COMM_RESULT, reinterpret_cast<WPARAM>(Session(i)), static_cast<LPARAM>(request));
    }
    engine->RequestUpdateAll(1);
    DrainEvents();
    EXPECT_EQ(view.Count(WM_VIEW_UPDATE_DONE), 0);
    EXPECT_EQ(engine->TrackedCount(), 2);
    Result(1, STATUS_NORMAL);
    Result(0, STATUS_NORMAL);
    EXPECT_EQ(view.Count(WM_VIEW_UPDATE_DONE), 1);
}

TEST_F(EngineTest, TrackedCycleWithNobodyToWaitForIsDoneAtOnce) {
    engine->RequestUpdateAll(1);
    DrainEvents();
    EXPECT_EQ(view.Count(WM_VIEW_UPDATE_DONE), 1);
    AddProjectors(1);
    engine->RequestUpdateAll(1);
    EXPECT_EQ(engine->RemoveProjector(records[0]), 1);
    DrainEvents();
    EXPECT_EQ(view.Count(WM_VIEW_UPDATE_DONE), 2);
    engine->RequestUpdateAll(0);
    DrainEvents();
    EXPECT_EQ(view.Count(WM_VIEW_UPDATE_DONE), 2);
}

TEST_F(EngineTest, ErrorIsAnnouncedOncePerChangeBeforeTheRowChange) {
    AddProjectors(1);
    Result(0, STATUS_NORMAL);
    EXPECT_EQ(view.Count(WM_VIEW_STATUS_ERROR), 0);
    EXPECT_EQ(view.Count(WM_VIEW_CHANGED), 1);
    view.messages.clear();
    Result(0, STATUS_FILTER_COVER);
    ASSERT_EQ(view.messages.size(), 2u);
    EXPECT_EQ(view.messages[0].msg, WM_VIEW_STATUS_ERROR);
    EXPECT_EQ(view.messages[0].wParam, reinterpret_cast<WPARAM>(records[0]));
    EXPECT_EQ(view.messages[0].lParam, STATUS_FILTER_COVER);
    EXPECT_EQ(view.messages[1].msg, WM_VIEW_CHANGED);
    EXPECT_EQ(records[0]->status, STATUS_FILTER_COVER);
    view.messages.clear();
    Result(0, STATUS_FILTER_COVER);  // same values: an update, no alert
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0].msg, WM_VIEW_UPDATE);
    Result(0, STATUS_COMM_ERROR);
    Result(0, STATUS_CONNECTION_ERROR);
    EXPECT_EQ(view.Count(WM_VIEW_STATUS_ERROR), 2);
    Result(0, STATUS_NORMAL);
    EXPECT_EQ(view.Count(WM_VIEW_STATUS_ERROR), 2);
}

TEST_F(EngineTest, ResultCopyKeepsTheOperatorsCredentials) {
    AddProjectors(1);
    engine->SetCredentials(records[0], "admin", "secret", 1);
    SessionTestAccess::Stage(Session(0), [](CProjectorInfo& w) {
        w.userName = "stale";
        w.name = "Hall";
    });
    engine->SendMessage(WM_COMM_RESULT, reinterpret_cast<WPARAM>(Session(0)));
    EXPECT_EQ(records[0]->name, "Hall");
    EXPECT_EQ(records[0]->userName, "admin");
    EXPECT_EQ(records[0]->password, "secret");
}

TEST_F(EngineTest, ResultCopyLeavesTheBusyFlagToTheSession) {
    AddProjectors(1);
    // The worker sets busy in both records at once; a working record that
    // differs stands for one read before the worker's latest SetBusy.
    for (int busy : {1, 0}) {
        Session(0)->SetBusy(busy);
        SessionTestAccess::Stage(Session(0), [busy](CProjectorInfo& w) {
            w.busy = 1 - busy;
            w.name = "Hall " + std::to_string(busy);
        });
        engine->SendMessage(WM_COMM_RESULT, reinterpret_cast<WPARAM>(Session(0)));
        EXPECT_EQ(records[0]->name, "Hall " + std::to_string(busy));
        EXPECT_EQ(records[0]->busy, busy);
    }
}

TEST_F(EngineTest, ResultOfARemovedSessionIsIgnored) {
    AddProjectors(2);
    CValueProjectorInfo* gone = Session(1);
    engine->RequestUpdateAll(1);
    EXPECT_EQ(engine->RemoveProjector(records[1]), 1);
    EXPECT_EQ(engine->RemoveProjector(records[1]), 0);
    EXPECT_EQ(engine->RemoveProjector(nullptr), -1);
    engine->SendMessage(WM_COMM_RESULT, reinterpret_cast<WPARAM>(gone));
    EXPECT_EQ(view.messages.size(), 0u);
    Result(0, STATUS_NORMAL);
    EXPECT_EQ(view.Count(WM_VIEW_UPDATE_DONE), 1);  // the removed one is not waited for
}

TEST_F(EngineTest, CommandsQueueOncePerSession) {
    AddProjectors(2);
    EXPECT_EQ(engine->SendCommand(nullptr, records[0], CONTROL_MUTE_ON), 0);
    EXPECT_EQ(engine->SendCommand(nullptr, records[0], CONTROL_MUTE_OFF), -1);
    EXPECT_EQ(Session(0)->PendingCommand(), CONTROL_MUTE_ON);
    EXPECT_EQ(engine->SendCommand(nullptr, records[0], 22), -1);
    EXPECT_EQ(engine->SendCommand(nullptr, records[0], -1), -1);
    EXPECT_EQ(engine->SendCommand(nullptr, nullptr, CONTROL_STANDBY), 0);
    CProjectorInfo stranger;
    EXPECT_EQ(engine->SendCommand(nullptr, &stranger, CONTROL_STANDBY), -1);
}

TEST_F(EngineTest, StandbyGoesToTheWholeGroupAtOnce) {
    AddProjectors(3);
    engine->SetPowerOnSpacing(3);
    EXPECT_EQ(engine->SendCommand(&group, nullptr, CONTROL_STANDBY), 0);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(Session(i)->PendingCommand(), CONTROL_STANDBY);
    EXPECT_FALSE(engine->PowerOnActive());
}

TEST_F(EngineTest, GroupPowerOnIsSpacedBySeconds) {
    AddProjectors(4);
    engine->SetPowerOnSpacing(3);
    EXPECT_EQ(engine->SendCommand(&group, nullptr, CONTROL_POWER_ON), 0);
    EXPECT_EQ(Session(0)->PendingCommand(), -1);  // the timer switches them on
    TickAfterMs(500);
    EXPECT_EQ(Session(0)->PendingCommand(), CONTROL_POWER_ON);
    EXPECT_EQ(Session(1)->PendingCommand(), -1);
    TickAfterMs(2000);
    EXPECT_EQ(Session(1)->PendingCommand(), -1);
    TickAfterMs(500);  // 3 s after the first
    EXPECT_EQ(Session(1)->PendingCommand(), CONTROL_POWER_ON);
    TickAfterMs(3000);
    EXPECT_EQ(Session(2)->PendingCommand(), CONTROL_POWER_ON);
    EXPECT_EQ(Session(3)->PendingCommand(), -1);
    TickAfterMs(3000);
    EXPECT_EQ(Session(3)->PendingCommand(), CONTROL_POWER_ON);
    EXPECT_FALSE(engine->PowerOnActive());
}

TEST_F(EngineTest, PowerOnSpacingIsNeverCutShortByAPartSecond) {
    AddProjectors(2);
    engine->SetPowerOnSpacing(3);
    clock.AdvanceMs(900);  // the operator's press late in a second
    engine->SendCommand(&group, nullptr, CONTROL_POWER_ON);
    TickAfterMs(500);
    EXPECT_EQ(Session(0)->PendingCommand(), CONTROL_POWER_ON);
    TickAfterMs(2000);  // the calendar second of the press + 3 has begun
    EXPECT_EQ(Session(1)->PendingCommand(), -1);
    TickAfterMs(500);
    EXPECT_EQ(Session(1)->PendingCommand(), CONTROL_POWER_ON);
}

TEST_F(EngineTest, SingleCommandEndsARunningPowerOnSequence) {
    AddProjectors(4);
    engine->SetPowerOnSpacing(3);
    engine->SendCommand(&group, nullptr, CONTROL_POWER_ON);
    TickAfterMs(500);
    EXPECT_EQ(engine->SendCommand(nullptr, records[3], CONTROL_MUTE_ON), 0);
    TickAfterMs(3000);  // the step already due still happens
    EXPECT_EQ(Session(1)->PendingCommand(), CONTROL_POWER_ON);
    EXPECT_FALSE(engine->PowerOnActive());
    TickAfterMs(3000);
    EXPECT_EQ(Session(2)->PendingCommand(), -1);
}

TEST_F(EngineTest, ForgettingTheGroupEndsItsPowerOnSequenceAtOnce) {
    AddProjectors(3);
    engine->SetPowerOnSpacing(3);
    CGroupItem other;
    engine->SendCommand(&group, nullptr, CONTROL_POWER_ON);
    TickAfterMs(500);
    ASSERT_EQ(Session(0)->PendingCommand(), CONTROL_POWER_ON);
    engine->ForgetGroup(&other);  // another group: the sequence goes on
    engine->ForgetGroup(nullptr);
    EXPECT_TRUE(engine->PowerOnActive());
    TickAfterMs(1000);
    engine->ForgetGroup(&group);
    EXPECT_FALSE(engine->PowerOnActive());
    for (int step = 0; step < 20; ++step)
        TickAfterMs(500);
    EXPECT_EQ(Session(1)->PendingCommand(), -1);
    EXPECT_EQ(Session(2)->PendingCommand(), -1);
    // A new group command starts afresh.
    EXPECT_EQ(engine->SendCommand(&group, nullptr, CONTROL_POWER_ON), 0);
    EXPECT_TRUE(engine->PowerOnActive());
}

TEST_F(EngineTest, PasswordDialogsOneAtATime) {
    AddProjectors(2);
    engine->SendMessage(WM_COMM_PASSWORD_REQUEST, reinterpret_cast<WPARAM>(Session(0)));
    engine->SendMessage(WM_COMM_PASSWORD_REQUEST, reinterpret_cast<WPARAM>(Session(1)));
    TickAfterMs(500);
    TickAfterMs(500);
    ASSERT_EQ(view.Count(WM_VIEW_PASSWORD), 1);
    EXPECT_EQ(view.messages.back().wParam, reinterpret_cast<WPARAM>(records[0]));
    EXPECT_EQ(view.messages.back().lParam, reinterpret_cast<LPARAM>(Session(0)));
    // An answer for a session whose dialog is not open is ignored.
    engine->SendMessage(WM_COMM_PASSWORD_ANSWER, reinterpret_cast<WPARAM>(Session(1)), 1);
    TickAfterMs(500);
    EXPECT_EQ(view.Count(WM_VIEW_PASSWORD), 1);
    engine->SendMessage(WM_COMM_PASSWORD_ANSWER, reinterpret_cast<WPARAM>(Session(0)), 0);
    TickAfterMs(500);
    ASSERT_EQ(view.Count(WM_VIEW_PASSWORD), 2);
    EXPECT_EQ(view.messages.back().wParam, reinterpret_cast<WPARAM>(records[1]));
}

TEST_F(EngineTest, AutomaticUpdateOnlyWhenAnIntervalIsSet) {
    AddProjectors(2);
    Session(0)->SetPollRequest(0);
    Session(1)->SetPollRequest(0);
    engine->ScheduleUpdate();
    TickAfterMs(3600 * 1000);
    EXPECT_EQ(Session(0)->IsPollRequested(), 0);
    engine->SetUpdateInterval(60);
    engine->ScheduleUpdate();
    TickAfterMs(59 * 1000);
    EXPECT_EQ(Session(0)->IsPollRequested(), 0);
    TickAfterMs(1000);
    EXPECT_EQ(Session(0)->IsPollRequested(), 1);
    EXPECT_EQ(Session(1)->IsPollRequested(), 1);
    EXPECT_EQ(engine->TrackedCount(), 0);  // automatic cycles are not tracked
}

TEST_F(EngineTest, SearchReminderWhenItsPeriodElapses) {
    engine->SetSearchInterval(120);
    engine->ScheduleSearch();
    TickAfterMs(119 * 1000);
    EXPECT_EQ(view.Count(WM_VIEW_SEARCH_DUE), 0);
    TickAfterMs(1000);
    EXPECT_EQ(view.Count(WM_VIEW_SEARCH_DUE), 1);
    TickAfterMs(1000);
    EXPECT_EQ(view.Count(WM_VIEW_SEARCH_DUE), 1);
}
