// lumivexctl as a program, apart from any board: its word about a resource
// bundle it cannot use.
#include <QFile>
#include <QStringList>

#include <gtest/gtest.h>

#include "support/CtlProgram.h"

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
