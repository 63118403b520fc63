// Fleet refresh benchmark: serves N simulated boards on loopback addresses,
// gives the engine one session each and measures a tracked refresh (request
// to "update done"), its CPU time, the peak resident size, and the CPU the
// idle sessions use. Run inside a private network namespace (bench/run).
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include <QCoreApplication>
#include <QProcess>

#include <sys/resource.h>

#include "comm/CommDefs.h"
#include "comm/CommWnd.h"
#include "comm/ProjectorInfo.h"
#include "platform/EventWait.h"
#include "platform/FileLimit.h"
#include "platform/MsgWnd.h"
#include "platform/TickCount.h"

namespace {

class DoneCounter : public CMsgWnd {
public:
    int done = 0;

protected:
    LRESULT OnMessage(unsigned msg, WPARAM, LPARAM) override {
        done += msg == WM_VIEW_UPDATE_DONE;
        return 0;
    }
};

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

long PeakRssKb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

std::string Address(int i) {
    // 127.1.0.1 onwards, as the simulator's --generate numbers them.
    int n = i + 1;
    return "127.1." + std::to_string(n / 256) + "." + std::to_string(n % 256);
}

// A relaxed check so the measuring thread itself stays out of the idle figure.
bool WaitFor(const std::function<bool()>& done, int ms) { return RunEventsUntil(done, ms, {}, 20); }

struct Figures {
    int boards;
    double coldMs, warmMs, warmCpu;
    long rssKb;
    double idleCpuPerMinute;
};

bool Measure(const QString& simulator, int boards, int idleSeconds, Figures& out) {
    QProcess sim;
    sim.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    sim.start(simulator, {"--generate", QString::number(boards), "--first", "127.1.0.1"});
    if (!sim.waitForStarted(5000) || !WaitFor([&] { return sim.canReadLine() || sim.state() != QProcess::Running; }, 60000) ||
        !sim.readLine().startsWith("READY")) {
        std::fprintf(stderr, "fleet_refresh: the simulator did not start for %d boards\n", boards);
        return false;
    }
    DoneCounter view;
    auto* engine = new CCommWnd(&view);
    std::vector<CProjectorInfo> records(static_cast<size_t>(boards));
    // The first cycle includes first contact and login on every board.
    auto start = TickCount();
    for (int i = 0; i < boards; ++i) {
        records[static_cast<size_t>(i)].ipAddress = Address(i);
        engine->AddProjector(&records[static_cast<size_t>(i)]);
    }
    engine->RequestUpdateAll(1);
    if (!WaitFor([&] { return view.done == 1; }, 120000))
        return false;
    out.coldMs = double(TickCount() - start);
    int errors = 0;
    for (const auto& r : records)
        errors += IsErrorStatus(r.status) && r.status >= STATUS_COMM_ERROR;
    if (errors)
        std::fprintf(stderr, "fleet_refresh: %d boards failed their first poll\n", errors);

    double cpu = CpuSeconds();
    start = TickCount();
    engine->RequestUpdateAll(1);
    if (!WaitFor([&] { return view.done == 2; }, 120000))
        return false;
    out.warmMs = double(TickCount() - start);
    out.warmCpu = CpuSeconds() - cpu;

    cpu = CpuSeconds();
    WaitFor([] { return false; }, idleSeconds * 1000);
    out.idleCpuPerMinute = (CpuSeconds() - cpu) * 60.0 / idleSeconds;
    out.rssKb = PeakRssKb();
    out.boards = boards;
    delete engine;
    sim.write("quit\n");
    sim.waitForFinished(5000);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    RaiseOpenFileLimit();
    QString simulator = QCoreApplication::applicationDirPath() + "/lumivex-boardsim";
    std::vector<int> sizes = {1, 10, 100, 1000};
    int idleSeconds = 10;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--idle" && i + 1 < argc)
            idleSeconds = std::max(1, std::atoi(argv[++i]));
        else if (arg == "--sizes" && i + 1 < argc) {
            sizes.clear();
            for (const QString& n : QString(argv[++i]).split(','))
                sizes.push_back(n.toInt());
        }
    }
    std::printf("%8s %12s %12s %12s %10s %18s %18s\n", "boards", "cold ms", "refresh ms", "refresh cpu s",
                "peak MB", "idle cpu s/min", "idle %core/100");
    for (int boards : sizes) {
        Figures f{};
        if (!Measure(simulator, boards, idleSeconds, f))
            return 1;
        double perHundred = f.idleCpuPerMinute / 60.0 * 100.0 * 100.0 / boards;
        std::printf("%8d %12.0f %12.0f %12.3f %10.1f %18.3f %18.3f\n", f.boards, f.coldMs, f.warmMs, f.warmCpu,
                    double(f.rssKb) / 1024.0, f.idleCpuPerMinute, perHundred);
        std::fflush(stdout);
    }
    return 0;
}
