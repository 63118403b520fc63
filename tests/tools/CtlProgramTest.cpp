// lumivexctl as a program, apart from any board: its help, its answer to bad
// numbers on the command line and in the profile, and its word about a
// resource bundle it cannot use.
#include <QFile>
#include <QRegularExpression>
#include <QStringList>

#include <gtest/gtest.h>

#include "support/CtlProgram.h"

namespace {

// The command forms the overview help lists, one a line.
QStringList OverviewForms(const QString& help) {
    const qsizetype begin = help.indexOf("commands:\n");
    const qsizetype end = help.indexOf("global options:");
    if (begin < 0 || end < begin)
        return {};
    QStringList forms;
    for (const QString& line : help.mid(begin + 10, end - begin - 10).split('\n', Qt::SkipEmptyParts))
        forms << line.trimmed();
    return forms;
}

// The options a command's own help explains, but --help itself.
QStringList ExplainedOptions(const QString& help) {
    static const QRegularExpression option("^  (--[a-z-]+)", QRegularExpression::MultilineOption);
    QStringList names;
    for (auto it = option.globalMatch(help.mid(help.indexOf("options:\n"))); it.hasNext();)
        names << it.next().captured(1);
    names.removeAll("--help");
    names.removeAll("--profile");  // the global option, explained at the end
    return names;
}

QString ReadMe() {
    QFile file(QStringLiteral(LUMIVEX_README));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

}  // namespace

TEST(CtlHelp, EveryCommandExplainsItsOptionsAndTheOverviewAndReadmeNameThemAll) {
    CtlProgram ctl;
    const CtlRun overview = ctl.Run({"--help"});
    ASSERT_EQ(overview.exitCode, 0);
    const QStringList forms = OverviewForms(overview.out);
    ASSERT_GE(forms.size(), 10) << overview.out.toStdString();
    const QString readme = ReadMe();
    ASSERT_FALSE(readme.isEmpty());
    for (const QString& form : forms)
        EXPECT_TRUE(readme.contains("lumivexctl " + form)) << "README lacks: " << form.toStdString();

    QStringList commands;
    for (const QString& form : forms)
        if (!commands.contains(form.section(' ', 0, 0)))
            commands << form.section(' ', 0, 0);
    for (const QString& command : commands) {
        const CtlRun help = ctl.Run({command, "--help"});
        EXPECT_EQ(help.exitCode, 0) << command.toStdString() << ": " << help.err.toStdString();
        const QString ownForms = forms.filter(QRegularExpression("^" + command + " ")).join('\n');
        for (const QString& option : ExplainedOptions(help.out))
            EXPECT_TRUE(ownForms.contains(option + " ") || ownForms.contains(option + "]"))
                << command.toStdString() << " " << option.toStdString() << " is not in the overview";
    }
    const CtlRun send = ctl.Run({"send", "--help"});
    for (const char* option : {"--poll-delay", "--group", "--spacing", "--ports", "--user", "--password-file"})
        EXPECT_TRUE(ExplainedOptions(send.out).contains(option)) << option;
}

TEST(CtlNumbers, BadNumbersOnTheCommandLineAreUsageErrorsNamingTheOption) {
    CtlProgram ctl;
    const QString huge = "99999999999999999999";
    const QString group = ctl.WriteFile("group", "127.0.0.1\n");
    const struct {
        QStringList args;
        const char* named;
    } cases[] = {
        {{"poll", "127.0.0.1", "--ports", "1-" + huge}, "--ports"},
        {{"refresh", "127.0.0.1", "--ports", "65536-1"}, "--ports"},
        {{"refresh", "127.0.0.1", "--ports", "-5"}, "--ports"},
        {{"send", "127.0.0.1", "power-on", "--poll-delay", huge}, "--poll-delay"},
        {{"send", "127.0.0.1", huge}, "unknown command"},
        {{"send", "127.0.0.1", "22"}, "unknown command"},
        {{"send", "--group", group, "power-on", "--spacing", huge}, "--spacing"},
        {{"watch", "127.0.0.1", "--interval", huge}, "--interval"},
        {{"watch", "127.0.0.1", "--interval", "0"}, "--interval"},
        {{"report", "--timeout", huge}, "--timeout"},
        {{"discover", "--seconds", huge}, "--seconds"},
        {{"discover", "--port", "-1"}, "--port"},
    };
    for (const auto& bad : cases) {
        const CtlRun run = ctl.Run(bad.args);
        EXPECT_EQ(run.exitCode, 2) << bad.args.join(' ').toStdString();
        EXPECT_TRUE(run.err.contains(bad.named)) << bad.args.join(' ').toStdString() << ": " << run.err.toStdString();
    }
}

TEST(CtlNumbers, StoredSettingsTheEngineCannotUseAreRefusedByName) {
    CtlProgram ctl;
    ctl.WriteDefaultProfile("[Settings]\nClientDataPortStart=70000\nNextPowerOnTime=100000\n");
    const QString group = ctl.WriteFile("group", "127.0.0.1\n");
    const CtlRun ports = ctl.Run({"refresh", "127.0.0.1"});
    EXPECT_EQ(ports.exitCode, 1);
    EXPECT_TRUE(ports.err.contains("ClientDataPortStart")) << ports.err.toStdString();
    const CtlRun spacing = ctl.Run({"send", "--group", group, "power-on", "--ports", "0-0"});
    EXPECT_EQ(spacing.exitCode, 1);
    EXPECT_TRUE(spacing.err.contains("NextPowerOnTime")) << spacing.err.toStdString();
    // The options take the stored values' place: no board answers here, so
    // the refresh ends with a connection error row.
    const CtlRun overridden = ctl.Run({"refresh", "127.0.0.1", "--ports", "0-0"});
    EXPECT_EQ(overridden.exitCode, 0) << overridden.err.toStdString();
}

TEST(CtlResources, ABundleThatCannotBeUsedIsNamedOnceOnStderr) {
    CtlProgram ctl;
    const CtlRun beside = ctl.Run({"list"});
    EXPECT_EQ(beside.exitCode, 0);
    EXPECT_FALSE(beside.err.contains("resource bundle")) << beside.err.toStdString();

    // A copy of the program in a folder of its own looks for the bundle there.
    ctl.WriteFile("bin/placeholder", "");
    const QString copy = ctl.FilePath("bin/lumivexctl");
    ASSERT_TRUE(QFile::copy(QStringLiteral(LUMIVEXCTL_PATH), copy));
    const QString bundle = ctl.FilePath("bin/lumivex.rcc");
    const CtlRun missing = ctl.Run({"list"}, copy);
    EXPECT_EQ(missing.exitCode, 0);
    EXPECT_EQ(missing.err.count(bundle), 1) << missing.err.toStdString();
    EXPECT_TRUE(missing.err.contains(bundle + ": not found")) << missing.err.toStdString();

    ctl.WriteFile("bin/lumivex.rcc", "not a bundle");
    const CtlRun broken = ctl.Run({"list"}, copy);
    EXPECT_EQ(broken.err.count(bundle), 1) << broken.err.toStdString();
    EXPECT_TRUE(broken.err.contains(bundle + ": unreadable")) << broken.err.toStdString();
}
