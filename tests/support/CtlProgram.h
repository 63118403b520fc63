#pragma once
// Runs lumivexctl (LUMIVEXCTL_PATH, or a copy of it) as a program of its own
// with HOME and the XDG folders inside a temporary folder of this helper, so
// that it never reads or writes the profile, key or lock of the user running
// the tests.
#include <memory>

#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

struct CtlRun {
    int exitCode = -1;  // also when the program did not end in time or crashed
    QString out;
    QString err;
};

class CtlProgram {
public:
    CtlProgram() : m_environment(QProcessEnvironment::systemEnvironment()) {
        for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_RUNTIME_DIR"}) {
            const QString path = m_dir.filePath(name);
            QDir().mkpath(path);
            m_environment.insert(name, path);
        }
        ::chmod(QFile::encodeName(m_dir.filePath("XDG_RUNTIME_DIR")).constData(), 0700);
    }
    ~CtlProgram() {
        if (m_process && m_process->state() != QProcess::NotRunning) {
            m_process->kill();
            m_process->waitForFinished(10000);
        }
    }

    // Runs lumivexctl (or program) to its end, waiting at most ms.
    CtlRun Run(const QStringList& args, const QString& program = QStringLiteral(LUMIVEXCTL_PATH), int ms = 120000) {
        Start(args, program);
        return Finish(ms);
    }
    // Starts it in the background; Finish() waits for it.
    void Start(const QStringList& args, const QString& program = QStringLiteral(LUMIVEXCTL_PATH)) {
        m_process = std::make_unique<QProcess>();
        m_process->setProcessEnvironment(m_environment);
        m_process->start(program, args);
        m_process->closeWriteChannel();
    }
    CtlRun Finish(int ms = 120000) {
        CtlRun run;
        if (!m_process->waitForFinished(ms))
            return run;
        if (m_process->exitStatus() == QProcess::NormalExit)
            run.exitCode = m_process->exitCode();
        run.out = QString::fromUtf8(m_process->readAllStandardOutput());
        run.err = QString::fromUtf8(m_process->readAllStandardError());
        return run;
    }
    // SIGTERM, which lumivexctl takes as the operator's interrupt.
    void Terminate() { m_process->terminate(); }

    QString WriteFile(const QString& name, const QString& text) {
        const QString path = m_dir.filePath(name);
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text.toUtf8());
        return path;
    }
    // Writes the console's profile under this helper's XDG_CONFIG_HOME, the
    // one lumivexctl opens without --profile.
    void WriteDefaultProfile(const QString& text) { WriteFile("XDG_CONFIG_HOME/TARNEL/Lumivex.conf", text); }
    QString FilePath(const QString& name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
    QProcessEnvironment m_environment;
    std::unique_ptr<QProcess> m_process;
};
