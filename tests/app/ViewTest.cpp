// The main view: the engine's messages (found boards, record updates, the
// end of a search and of a tracked refresh), the search command, saving the
// projector list after each change, the stored tab, and a stored projector
// that cannot be read.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "ConsoleTestSupport.h"
#include "app/AppDefs.h"
#include "comm/CommDefs.h"
#include "comm/CommWnd.h"
#include "mail/MailSetInfo.h"
#include "mail/MailWnd.h"
#include "platform/Clock.h"
#include "support/LoopbackFleet.h"
#include "support/TestAddress.h"
#include "platform/ResourceText.h"
#include "ui/ItemListArea.h"
#include "ui/MyTabCtrl.h"

namespace {

void PostFound(CLumivexView* view, const std::string& address) {
    PostOwnedMessage(view, WM_VIEW_SEARCH_FOUND, std::make_unique<std::string>(address));
}

int AllCount(const CLumivexView* view) { return view->Groups().empty() ? -1 : view->Groups()[0]->GetCount(); }

// Holds a TCP port on every address, as another program listening there would.
class PortHolder {
public:
    explicit PortHolder(int port) : m_fd(::socket(AF_INET, SOCK_STREAM, 0)) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<uint16_t>(port));
        address.sin_addr.s_addr = htonl(INADDR_ANY);
        m_ok = ::bind(m_fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 && ::listen(m_fd, 1) == 0;
    }
    ~PortHolder() { ::close(m_fd); }
    bool Ok() const { return m_ok; }

private:
    int m_fd;
    bool m_ok = false;
};

}  // namespace

using ViewTest = ConsoleTest;

TEST_F(ViewTest, FoundBoardIsAddedOnceAndStoredAtOnce) {
    StoreFleet({TestLoopbackAddress(1)});
    CLumivexView* view = OpenConsole();
    PostFound(view, TestLoopbackAddress(1));  // known already
    PostFound(view, TestLoopbackAddress(2));
    PostFound(view, TestLoopbackAddress(2));  // a board that answered twice
    ASSERT_TRUE(WaitFor([&] { return AllCount(view) == 2; }));
    Settle();
    EXPECT_EQ(AllCount(view), 2);
    EXPECT_EQ(view->Engine()->SessionCount(), 2);
    // On disk before anything closes: a kill now loses nothing.
    EXPECT_EQ(StoredAddresses(), (std::vector<std::string>{TestLoopbackAddress(1), TestLoopbackAddress(2)}));
    EXPECT_TRUE(m_messages.empty());
}

TEST_F(ViewTest, MessagesNamingRecordsThatAreGoneAreIgnored) {
    StoreFleet({TestLoopbackAddress(1)});
    CLumivexView* view = OpenConsole();
    auto gone = std::make_unique<CProjectorInfo>();
    const WPARAM stale = reinterpret_cast<WPARAM>(gone.get());
    gone.reset();  // a record deleted after the engine posted about it
    CProjectorInfo stranger;
    for (unsigned msg : {WM_VIEW_UPDATE, WM_VIEW_CHANGED}) {
        view->PostMessage(msg, stale);
        view->PostMessage(msg, reinterpret_cast<WPARAM>(&stranger));
        view->PostMessage(msg, 0);
        view->PostMessage(msg, reinterpret_cast<WPARAM>(view->Groups()[0]->GetAt(0)));
    }
    Settle();
    EXPECT_EQ(AllCount(view), 1);
    // After shutdown nothing is added or saved any more.
    view->Shutdown();
    PostFound(view, TestLoopbackAddress(9));
    view->PostMessage(WM_VIEW_UPDATE_DONE);
    view->PostMessage(WM_VIEW_SEARCH_DUE);
    Settle();
    EXPECT_EQ(StoredAddresses(), std::vector<std::string>{TestLoopbackAddress(1)});
}

TEST_F(ViewTest, ScheduledReportGoesOutWhenTheTrackedRefreshIsDone) {
    LoopbackFleet fleet;
    const std::string a = fleet.AddBoard({"projectorName Hall"});
    const std::string b = fleet.AddBoard({"projectorName Foyer"});
    fleet.Start();
    StoreFleet({a, b});
    // A report every day at 09:00 to one recipient; the server is nobody.
    CMailSetInfo mail;
    mail.originator.server = TestLoopbackAddress(200);
    mail.originator.senderAddress = "console@example.com";
    mail.recipients.entries[0].address = "operator@example.com";
    mail.recipients.entries[0].periodicReport = 1;
    mail.periodical.kind = PERIODICAL_KIND_WEEKDAYS;
    mail.periodical.weekdays.fill(1);
    mail.periodical.hour = 9;
    ASSERT_EQ(mail.Save(), 0);

    CFakeClock clock(CDateTime::FromParts(2026, 3, 2, 8, 59, 58));
    CLumivexView* view = OpenConsole(&clock);
    int sent = 0;
    view->MailWindow()->SetDoneHandler([&](int) { ++sent; });
    EXPECT_EQ(view->Notifier().NextReportTime(), CDateTime::FromParts(2026, 3, 2, 9, 0, 0));
    clock.AdvanceMs(3000);
    // Timer 192 asks for the tracked refresh; its end composes the report.
    ASSERT_TRUE(WaitFor([&] { return view->Notifier().ReportPending(); }, 5000));
    ASSERT_TRUE(WaitFor([&] { return !view->Notifier().ReportPending(); }, 20000));
    ASSERT_TRUE(WaitFor([&] { return sent == 1; }, 20000));
    EXPECT_EQ(view->Notifier().NextReportTime(), CDateTime::FromParts(2026, 3, 3, 9, 0, 0));
    // Both boards had answered when the report was made.
    for (const CProjectorInfo* record : view->AllProjectors())
        EXPECT_EQ(record->status, STATUS_NORMAL) << record->ipAddress;
}

TEST_F(ViewTest, SearchRunsOnceWithBusyCursorUntilItIsDone) {
    CLumivexView* view = OpenConsole();
    ASSERT_TRUE(view->IsCommandEnabled(ID_VIEW_SEARCH));
    view->OnCommand(ID_VIEW_SEARCH);
    ASSERT_TRUE(view->SearchRunning()) << (m_messages.empty() ? "" : m_messages[0]);
    EXPECT_EQ(view->cursor().shape(), Qt::BusyCursor);
    EXPECT_FALSE(view->IsCommandEnabled(ID_VIEW_SEARCH));
    // The engine's reminder while a search runs starts nothing.
    view->PostMessage(WM_VIEW_SEARCH_DUE);
    ASSERT_TRUE(WaitFor([&] { return !view->SearchRunning(); }));
    EXPECT_EQ(view->cursor().shape(), Qt::ArrowCursor);
    EXPECT_TRUE(view->IsCommandEnabled(ID_VIEW_SEARCH));
    EXPECT_TRUE(m_messages.empty());
}

TEST_F(ViewTest, ManualSearchThatCannotStartSaysWhyAutomaticStaysSilent) {
    PortHolder holder(SearchPort());
    ASSERT_TRUE(holder.Ok());
    CLumivexView* view = OpenConsole();
    view->PostMessage(WM_VIEW_SEARCH_DUE);
    Settle();
    EXPECT_TRUE(m_messages.empty());
    view->OnCommand(ID_VIEW_SEARCH);
    EXPECT_FALSE(view->SearchRunning());
    EXPECT_EQ(view->cursor().shape(), Qt::ArrowCursor);
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_NE(m_messages[0].find(std::to_string(SearchPort())), std::string::npos) << m_messages[0];
    EXPECT_NE(m_messages[0].find(ResourceText(IDS_SEARCH_FAILED).substr(0, 12)), std::string::npos);
}

TEST_F(ViewTest, FailedSaveIsToldOnceAndRetriedAtTheNextChange) {
    StoreFleet({TestLoopbackAddress(1)});
    CLumivexView* view = OpenConsole();
    Settle();
    {
        CFileSizeLimit full(FileText().size());  // the list cannot grow on disk
        PostFound(view, TestLoopbackAddress(2));
        PostFound(view, TestLoopbackAddress(3));
        ASSERT_TRUE(WaitFor([&] { return AllCount(view) == 3; }));
        Settle();
    }
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_NE(m_messages[0].find(m_profilePath), std::string::npos) << m_messages[0];
    EXPECT_EQ(StoredAddresses(), std::vector<std::string>{TestLoopbackAddress(1)});
    PostFound(view, TestLoopbackAddress(4));
    ASSERT_TRUE(WaitFor([&] { return StoredAddresses().size() == 4; }));
    EXPECT_EQ(m_messages.size(), 1u);
}

TEST_F(ViewTest, UnreadableStoredProjectorNamesFileAndValueAndLeavesTheFileAlone) {
    StoreFleet({TestLoopbackAddress(1), TestLoopbackAddress(2)});
    CValue().SetProjector(-1, 1, CBinary("garbage"));
    CValue().SetSelectGroup(0);
    const std::string before = FileText();
    auto* view = new CLumivexView;
    m_frame = std::make_unique<CMainFrame>(view);
    EXPECT_NE(view->Create(), 0);
    EXPECT_NE(view->CreateError().find(m_profilePath), std::string::npos) << view->CreateError();
    EXPECT_NE(view->CreateError().find("Projector1"), std::string::npos) << view->CreateError();
    EXPECT_EQ(view->SaveGroupList(), -1);
    m_frame->close();
    m_frame.reset();
    Settle();
    EXPECT_EQ(FileText(), before);
}

TEST_F(ViewTest, StoredTabIsSelectedAndScrolledIntoView) {
    std::vector<std::pair<std::string, std::vector<int>>> named;
    for (int i = 0; i < 30; ++i)
        named.push_back({"Group with a long name " + std::to_string(i), {0}});
    StoreFleet({TestLoopbackAddress(1)}, named);
    CValue().SetSelectGroup(99);  // beyond the last: the last
    CLumivexView* view = OpenConsole();
    m_frame->resize(600, 400);
    m_frame->show();
    CMyTabCtrl* tabs = view->Tabs();
    ASSERT_EQ(tabs->count(), 31);
    EXPECT_EQ(tabs->currentIndex(), 30);
    EXPECT_EQ(view->ListArea()->Group(), view->Groups()[30].get());
    ASSERT_TRUE(WaitFor([&] { return tabs->rect().contains(tabs->tabRect(30)); }, 5000));
    // A click on another tab shows its group and is remembered.
    tabs->setCurrentIndex(3);
    EXPECT_EQ(view->ListArea()->Group(), view->Groups()[3].get());
    EXPECT_EQ(CValue().GetSelectGroup(), 3);
}
