// The lumivex program itself (offscreen): its options, a second start that
// ends at once and silently, a termination signal that closes it in order,
// and a stored projector that cannot be read.
#include <csignal>

#include <QFile>
#include <QLockFile>
#include <QProcess>
#include <QProcessEnvironment>

#include "ConsoleTestSupport.h"
#include "platform/InstanceLock.h"
#include "support/TestAddress.h"

namespace {

struct ProgramRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

class ProgramTest : public ConsoleTest {
protected:
    QProcess* Start(const QStringList& args) {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        process->setProcessEnvironment(env);
        process->start(QStringLiteral(LUMIVEX_PROGRAM), args);
        EXPECT_TRUE(process->waitForStarted(10000));
        m_processes.push_back(std::move(process));
        return m_processes.back().get();
    }
    ProgramRun Finish(QProcess* process, int ms = 30000) {
        ProgramRun run;
        if (!process->waitForFinished(ms)) {
            process->kill();
            process->waitForFinished();
            return run;
        }
        run.exitCode = process->exitStatus() == QProcess::NormalExit ? process->exitCode() : -1;
        run.out = process->readAllStandardOutput().toStdString();
        run.err = process->readAllStandardError().toStdString();
        return run;
    }
    ProgramRun RunLumivex(const QStringList& args) { return Finish(Start(args)); }
    QStringList WithProfile() const { return {QStringLiteral("--profile"), QString::fromStdString(m_profilePath)}; }
    // The console holds its lock (its close on a signal is set up before).
    // Only read: taking the lock to look would turn the console away.
    static bool HoldsLock(QProcess* process) {
        QLockFile lock(QString::fromStdString(InstanceLockPath()));
        qint64 pid = 0;
        QString host, program;
        return lock.getLockInfo(&pid, &host, &program) && pid == process->processId();
    }
    void TearDown() override {
        for (auto& process : m_processes)
            if (process->state() != QProcess::NotRunning) {
                process->kill();
                process->waitForFinished();
            }
        ConsoleTest::TearDown();
    }

    std::vector<std::unique_ptr<QProcess>> m_processes;
};

}  // namespace

TEST_F(ProgramTest, HelpVersionAndUnknownOptions) {
    ProgramRun help = RunLumivex({QStringLiteral("--help")});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("--profile FILE"), std::string::npos) << help.out;
    EXPECT_NE(help.out.find("--resources FILE"), std::string::npos) << help.out;
    ProgramRun version = RunLumivex({QStringLiteral("--version")});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, "lumivex 1.0.1\n");
    ProgramRun unknown = RunLumivex({QStringLiteral("--colour")});
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_NE(unknown.err.find("--colour"), std::string::npos) << unknown.err;
    EXPECT_EQ(RunLumivex({QStringLiteral("--profile")}).exitCode, 2);
}

TEST_F(ProgramTest, SecondStartEndsAtOnceSilentlyAndATerminationSignalClosesInOrder) {
    StoreFleet({TestLoopbackAddress(1)});
    QProcess* first = Start(WithProfile());
    ASSERT_TRUE(WaitFor([&] { return HoldsLock(first); }, 20000));
    ProgramRun second = RunLumivex(WithProfile());
    EXPECT_EQ(second.exitCode, 0);
    EXPECT_EQ(second.out, "");
    EXPECT_EQ(second.err.find("lumivex:"), std::string::npos) << second.err;
    EXPECT_EQ(first->state(), QProcess::Running);

    ::kill(static_cast<pid_t>(first->processId()), SIGTERM);
    ProgramRun closed = Finish(first);
    EXPECT_EQ(closed.exitCode, 0) << closed.err;
    // The frame closed as on Exit: its placement is stored, the list kept.
    Reopen();
    CWindowPlacement placement;
    EXPECT_EQ(CValue().GetPlacement(PLACEMENT_WINDOW, placement), 0);
    EXPECT_EQ(StoredAddresses(), std::vector<std::string>{TestLoopbackAddress(1)});
    EXPECT_FALSE(QFile::exists(QString::fromStdString(InstanceLockPath())));
}

TEST_F(ProgramTest, UnreadableStoredProjectorEndsWithTheFileAndValueAndChangesNothing) {
    StoreFleet({TestLoopbackAddress(1)});
    CValue().SetProjector(-1, 0, CBinary("garbage"));
    const std::string before = FileText();
    // The message box of a failed start waits for the operator; the same
    // words are on the error stream at once.
    QProcess* console = Start(WithProfile());
    std::string err;
    ASSERT_TRUE(WaitFor([&] {
        err += console->readAllStandardError().toStdString();
        return err.find('\n') != std::string::npos || console->state() == QProcess::NotRunning;
    }, 20000));
    EXPECT_NE(err.find(m_profilePath), std::string::npos) << err;
    EXPECT_NE(err.find("Projector0"), std::string::npos) << err;
    // A termination signal ends the waiting box; the start failed.
    ::kill(static_cast<pid_t>(console->processId()), SIGTERM);
    EXPECT_EQ(Finish(console).exitCode, 1);
    EXPECT_EQ(FileText(), before);
}
