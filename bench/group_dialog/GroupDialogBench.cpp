// The group settings dialog with 1000 projectors, offscreen:
// - opening it for a new group and for a group of 500 members, until both
//   lists have painted;
// - moving 500 members across with Add >> (a block of rows, and every other
//   row, the worst case for a selection), and back with << Remove, painted.
// Every figure is the median and the worst of several runs, in milliseconds
// of the UI thread's own time and of the wall clock. Targets: open under
// 300 ms, a move of 500 under 300 ms.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QApplication>
#include <QListView>
#include <QWindow>

#include "comm/ProjectorInfo.h"
#include "platform/EventWait.h"
#include "support/PaintWait.h"
#include "settings/GroupItem.h"
#include "settings/GroupItem2.h"
#include "ui/GroupSetting.h"

namespace {

constexpr int kProjectors = 1000;
constexpr int kMoved = 500;
constexpr int kRuns = 11;

double ThreadMs() {
    timespec t {};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1000.0 + double(t.tv_nsec) / 1e6;
}

double WallMs() {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

struct Times {
    double cpu = 0;
    double wall = 0;
};

struct Figures {
    Times median;
    Times worst;
};

// Runs work kRuns times after a warm-up and sums up its times.
Figures Measure(const std::function<Times()>& work) {
    work();
    std::vector<Times> runs;
    for (int i = 0; i < kRuns; ++i)
        runs.push_back(work());
    Figures f;
    for (double Times::*field : {&Times::cpu, &Times::wall}) {
        std::vector<double> values;
        for (const Times& t : runs)
            values.push_back(t.*field);
        std::sort(values.begin(), values.end());
        f.median.*field = values[values.size() / 2];
        f.worst.*field = values.back();
    }
    return f;
}

void Report(const char* what, const Figures& f) {
    std::printf("%-46s median %7.2f ms (wall %7.2f)  worst %7.2f ms (wall %7.2f)\n", what, f.median.cpu, f.median.wall,
                f.worst.cpu, f.worst.wall);
}

void MakeFleet(CGroupItem& all, CGroupItem2& half) {
    for (int i = 0; i < kProjectors; ++i) {
        CProjectorInfo r;
        r.name = "Projector " + std::to_string((i * 7919) % kProjectors);
        r.ipAddress = "10.1." + std::to_string(i / 250) + "." + std::to_string(1 + i % 250);
        CProjectorInfo* added = nullptr;
        all.AddCopy(r, &added);
        if (i % 2 == 0)
            half.Add(added);
    }
}

CPaintWait g_paints;

// Both lists have painted what was left to paint.
void Paint(CGroupSetting& dialog, int lists = 1) {
    g_paints.Wait({dialog.AllList()->viewport(), dialog.MemberList()->viewport()}, lists, 200);
}

Times Open(const CGroupItem& all, const CGroupItem* edited) {
    const double cpu = ThreadMs();
    const double wall = WallMs();
    auto dialog = std::make_unique<CGroupSetting>(all, edited, 1, nullptr);
    dialog->show();
    Paint(*dialog, 2);
    Times t{ThreadMs() - cpu, WallMs() - wall};
    dialog.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return t;
}

void Select(QListView* list, int first, int step, int count) {
    list->clearSelection();
    QItemSelection selection;
    for (int n = 0, row = first; n < count; ++n, row += step)
        selection.select(list->model()->index(row, 0), list->model()->index(row, 0));
    list->selectionModel()->select(selection, QItemSelectionModel::Select);
}

// Selects kMoved rows of the left list (from first, step apart), then times Add >>.
Times Move(const CGroupItem& all, int first, int step, bool back) {
    CGroupSetting dialog(all, nullptr, 1, nullptr);
    dialog.show();
    Paint(dialog, 2);
    Select(dialog.AllList(), first, step, kMoved);
    if (back) {
        dialog.AddSelected();
        Paint(dialog, 2);
    }
    const double cpu = ThreadMs();
    const double wall = WallMs();
    if (back)
        dialog.RemoveSelected();  // the moved rows are still selected on the right
    else
        dialog.AddSelected();
    Paint(dialog, 2);
    return {ThreadMs() - cpu, WallMs() - wall};
}

}  // namespace

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    CGroupItem all("All");
    CGroupItem2 half("Hall");
    MakeFleet(all, half);

    Report("open, new group (1000 offered)", Measure([&] { return Open(all, nullptr); }));
    Report("open, editing a group of 500", Measure([&] { return Open(all, &half); }));
    Report("Add >> of 500 rows in a block", Measure([&] { return Move(all, 250, 1, false); }));
    Report("Add >> of 500 rows, every other row", Measure([&] { return Move(all, 0, 2, false); }));
    Report("<< Remove of 500 rows", Measure([&] { return Move(all, 0, 2, true); }));
    return 0;
}
