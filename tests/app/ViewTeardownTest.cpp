// Closing the console while every session is busy with its board: the
// engine's sessions stop before any record goes, the list is saved whole,
// and nothing is touched after it is freed (run under ASan and TSan).
#include <chrono>

#include "ConsoleTestSupport.h"
#include "app/AppDefs.h"
#include "comm/CommDefs.h"
#include "comm/CommWnd.h"
#include "support/LoopbackFleet.h"
#include "ui/MyTabCtrl.h"

using ViewTeardownTest = ConsoleTest;

TEST_F(ViewTeardownTest, ClosingWithSessionsRunningStopsThemBeforeTheRecordsGo) {
    LoopbackFleet fleet;
    std::vector<std::string> addresses;
    for (int i = 0; i < 6; ++i)
        addresses.push_back(fleet.AddBoard({"projectorName Board" + std::to_string(i)}));
    addresses.push_back(fleet.AddBoard({"login true", "user admin", "password secret"}));
    addresses.push_back(fleet.AddBoard());
    addresses.push_back(fleet.AddBoard());
    fleet.Start();
    // Slow answers keep sessions in the middle of an exchange; one board
    // never answers its information request at all.
    fleet.Control("fault " + addresses[0] + " * delay 300");
    fleet.Control("fault " + addresses[1] + " * split pieces=4 gap=100");
    fleet.Control("fault " + addresses[8] + " info silent");
    StoreFleet(addresses, {{"Hall", {0, 2, 4}}, {"Studio", {1, 7}}});

    CLumivexView* view = OpenConsole();
    m_frame->ShowAsStored();
    ASSERT_TRUE(WaitFor([&] {
        int polled = 0;
        for (const CProjectorInfo* record : view->AllProjectors())
            polled += record->status != STATUS_UNKNOWN;
        return polled >= 4;
    }, 20000));
    m_frame->FireCommand(ID_VIEW_REFRESH);
    view->Tabs()->setCurrentIndex(1);
    QCoreApplication::processEvents();

    const auto start = std::chrono::steady_clock::now();
    m_frame->close();
    m_frame.reset();
    Settle();
    const auto elapsed = std::chrono::steady_clock::now() - start;
    // Stop requests are honoured between short waits, never after a whole
    // board time-out.
    EXPECT_LT(elapsed, std::chrono::seconds(10));
    EXPECT_EQ(StoredAddresses(), addresses);
    CValue value;
    EXPECT_EQ(value.GetGroupCount(), 2);
    EXPECT_EQ(value.GetSelectGroup(), 1);
    CWindowPlacement placement;
    EXPECT_EQ(value.GetPlacement(PLACEMENT_WINDOW, placement), 0);
}
