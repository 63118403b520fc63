// The whole console (offscreen) on a fleet of simulated boards:
// - start: from opening the stored profile to a list in which every stored
//   projector has answered (wall clock);
// - one full refresh of the fleet: the UI thread's CPU time while it runs,
//   and its longest single event (the worst stall an operator could feel);
// - a tab click between the All group and a 200-member group (UI thread CPU
//   for the new list window, filled, sorted and painted);
// - the peak resident size.
// The tab click includes the store's write of the selected tab, shown apart.
// Targets: filled within 3 s, a refresh under 100 ms of UI work with no
// event over 50 ms, a tab click under 50 ms, under 200 MB.
// Run inside a private network namespace (bench/run-console).
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include <sys/resource.h>

#include <QApplication>
#include <QProcess>
#include <QTemporaryDir>

#include "app/LumivexView.h"
#include "app/MainFrame.h"
#include "comm/CommDefs.h"
#include "comm/CommWnd.h"
#include "platform/EventWait.h"
#include "platform/FileLimit.h"
#include "settings/Groups.h"
#include "settings/ProfileStore.h"
#include "settings/Value.h"
#include "support/TemporaryHome.h"
#include "ui/MyTabCtrl.h"

namespace {

double ThreadCpuMs() {
    timespec t{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1000.0 + double(t.tv_nsec) / 1e6;
}

double WallMs() {
    timespec t{};
    ::clock_gettime(CLOCK_MONOTONIC, &t);
    return double(t.tv_sec) * 1000.0 + double(t.tv_nsec) / 1e6;
}

// Times every event the UI thread dispatches from its loop (nested
// dispatches count with their outermost event).
class CTimedApplication : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override {
        if (m_depth++ > 0) {
            const bool handled = QApplication::notify(receiver, event);
            --m_depth;
            return handled;
        }
        const double start = ThreadCpuMs();
        const bool handled = QApplication::notify(receiver, event);
        const double spent = ThreadCpuMs() - start;
        --m_depth;
        longest = std::max(longest, spent);
        return handled;
    }
    double longest = 0;

private:
    int m_depth = 0;
};

std::string Address(int i) {
    // 127.1.0.1 onwards, as the simulator's --generate numbers them.
    const int n = i + 1;
    return "127.1." + std::to_string(n / 256) + "." + std::to_string(n % 256);
}

bool StoreFleet(int boards, int groupMembers) {
    GroupList groups;
    groups.push_back(std::make_unique<CGroupItem>("All"));
    for (int i = 0; i < boards; ++i) {
        CProjectorInfo record;
        record.ipAddress = Address(i);
        groups[0]->AddCopy(record, nullptr);
    }
    auto group = std::make_unique<CGroupItem2>("Group200");
    for (int i = 0; i < groupMembers; ++i)
        group->Add(groups[0]->GetAt(i * boards / groupMembers));
    groups.push_back(std::move(group));
    CValue().SetAutoSearchFlag(0);  // no search during the measurement
    return SaveGroups(groups) == 0;
}

bool AllAnswered(const CLumivexView& view) {
    for (const CProjectorInfo* record : view.AllProjectors())
        if (record->status == STATUS_UNKNOWN)
            return false;
    return true;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    QTemporaryDir home;
    if (!UseTemporaryHome(home))
        return 1;
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    CTimedApplication app(argc, argv);
    const int boards = argc > 1 ? std::atoi(argv[1]) : 1000;
    RaiseOpenFileLimit();

    QProcess sim;
    sim.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    sim.start(QCoreApplication::applicationDirPath() + "/lumivex-boardsim",
              {"--generate", QString::number(boards), "--first", "127.1.0.1", "--search-port", "off"});
    if (!sim.waitForStarted(5000) ||
        !RunEventsUntil([&] { return sim.canReadLine() || sim.state() != QProcess::Running; }, 60000) ||
        !sim.readLine().startsWith("READY")) {
        std::fprintf(stderr, "console_fleet: the simulator did not start\n");
        return 1;
    }
    OpenProfile(home.path().toStdString() + "/Lumivex.conf");
    if (!StoreFleet(boards, 200)) {
        std::fprintf(stderr, "console_fleet: the profile could not be written\n");
        return 1;
    }

    const double startWall = WallMs();
    auto* view = new CLumivexView;
    CMainFrame frame(view);
    if (view->Create() != 0) {
        std::fprintf(stderr, "console_fleet: %s\n", view->CreateError().c_str());
        return 1;
    }
    frame.ShowAsStored();
    if (!RunEventsUntil([&] { return AllAnswered(*view); }, 60000)) {
        std::fprintf(stderr, "console_fleet: not every board answered\n");
        return 1;
    }
    QCoreApplication::processEvents();
    const double filledMs = WallMs() - startWall;

    // One tracked refresh of the whole fleet.
    // The first round over: no session is talking to its board.
    RunEventsUntil([&] {
        for (const CProjectorInfo* record : view->AllProjectors())
            if (record->busy)
                return false;
        return true;
    }, 10000);
    app.longest = 0;
    const double refreshCpu = ThreadCpuMs();
    const double refreshWall = WallMs();
    view->Engine()->RequestUpdateAll(1);
    RunEventsUntil([&] { return view->Engine()->TrackedCount() == 0; }, 60000);
    QCoreApplication::processEvents();
    const double refreshCpuMs = ThreadCpuMs() - refreshCpu;
    const double refreshWallMs = WallMs() - refreshWall;
    const double refreshStall = app.longest;

    // Tab clicks, both ways.
    std::vector<double> toGroup, toAll;
    for (int i = 0; i < 7; ++i) {
        for (int tab : {1, 0}) {
            const double start = ThreadCpuMs();
            view->Tabs()->setCurrentIndex(tab);
            QCoreApplication::processEvents();
            (tab == 1 ? toGroup : toAll).push_back(ThreadCpuMs() - start);
        }
    }

    // What of a tab click is the store's: the selected tab is written each time.
    std::vector<double> writes;
    for (int i = 0; i < 7; ++i) {
        const double start = ThreadCpuMs();
        CValue().SetSelectGroup(i % 2);
        writes.push_back(ThreadCpuMs() - start);
    }
    const double closeWall = WallMs();
    frame.close();
    const double closeMs = WallMs() - closeWall;
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);

    std::printf("console_fleet, %d boards (targets in brackets)\n", boards);
    std::printf("  start to a filled list      %8.0f ms wall   (< 3000)\n", filledMs);
    std::printf("  full refresh                %8.0f ms wall, UI thread %.1f ms CPU (< 100), longest event %.1f ms (< 50)\n",
                refreshWallMs, refreshCpuMs, refreshStall);
    std::printf("  tab click, 200-member group %8.1f ms median, %.1f worst (< 50)\n", Median(toGroup),
                *std::max_element(toGroup.begin(), toGroup.end()));
    std::printf("  tab click, All (%d)       %8.1f ms median, %.1f worst (< 50)\n", boards, Median(toAll),
                *std::max_element(toAll.begin(), toAll.end()));
    std::printf("    of which writing the selected tab to the store %.1f ms median\n", Median(writes));
    std::printf("  close (sessions stopped, saved) %4.0f ms wall\n", closeMs);
    std::printf("  peak resident size          %8.1f MB   (< 200)\n", double(usage.ru_maxrss) / 1024.0);
    sim.terminate();
    sim.waitForFinished(5000);
    CloseProfile();
    return 0;
}
