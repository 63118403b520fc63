// lumivexctl's board commands run as a program against simulated boards.
#include <memory>

#include <QCoreApplication>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include "support/CtlProgram.h"
#include "support/LoopbackFleet.h"

namespace {

class CtlBoardCommands : public ::testing::Test {
protected:
    std::string AddBoard(std::vector<std::string> settings = {}) { return fleet.AddBoard(std::move(settings)); }
    void StartFleet() { fleet.Start(); }
    void TearDown() override { fleet.Stop(); }
    CtlRun Ctl(const QStringList& args) { return ctl.Run(args); }
    QString WriteFile(const QString& name, const QString& text) { return ctl.WriteFile(name, text); }

    LoopbackFleet fleet;
    CtlProgram ctl;
};

QString Q(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

TEST_F(CtlBoardCommands, PollPrintsEveryFieldButThePassword) {
    std::string a = AddBoard({"projectorName Hall", "login on", "user admin", "password secret"});
    StartFleet();
    QString pw = WriteFile("pw", "secret\n");
    CtlRun text = Ctl({"poll", Q(a), "--user", "admin", "--password-file", pw});
    ASSERT_EQ(text.exitCode, 0) << text.err.toStdString();
    EXPECT_TRUE(text.out.startsWith("name: Hall\nipAddress: " + Q(a) + "\n"));
    EXPECT_TRUE(text.out.contains("\nlampHours: "));
    EXPECT_TRUE(text.out.contains("\nuserName: admin\nlampMinutes: "));
    EXPECT_FALSE(text.out.contains("secret"));
    CtlRun json = Ctl({"poll", Q(a), "--user", "admin", "--password-file", pw, "--json"});
    ASSERT_EQ(json.exitCode, 0);
    QJsonObject object = QJsonDocument::fromJson(json.out.toUtf8()).object();
    EXPECT_EQ(object["name"].toString(), "Hall");
    EXPECT_EQ(object["status"].toInt(), 1);
    EXPECT_TRUE(object.contains("statusText"));
    EXPECT_FALSE(object.contains("password"));
}

TEST_F(CtlBoardCommands, FailuresNameTheirResultCode) {
    std::string login = AddBoard({"login on", "user admin", "password secret"});
    std::string refusing = AddBoard();
    StartFleet();
    fleet.Control("fault " + refusing + " info yourip");
    CtlRun refused = Ctl({"poll", Q(refusing)});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.startsWith("RC_REFUSED")) << refused.err.toStdString();
    CtlRun wrong = Ctl({"poll", Q(login), "--user", "admin", "--password-file", WriteFile("bad", "nope")});
    EXPECT_EQ(wrong.exitCode, 1);
    EXPECT_TRUE(wrong.err.startsWith("RC_LOGIN_REFUSED"));
    EXPECT_EQ(Ctl({"poll", "300.1.1.1"}).exitCode, 2);
    EXPECT_EQ(Ctl({"poll", Q(login), "--password", "x"}).exitCode, 2);  // never on the command line
    EXPECT_EQ(Ctl({"send", Q(login), "warp-drive"}).exitCode, 2);
    EXPECT_EQ(Ctl({"poll", Q(login), "--ports", "9-x"}).exitCode, 2);
}

TEST_F(CtlBoardCommands, SendChangesTheBoardAndReadsPowerBack) {
    std::string a = AddBoard({"power standby"});
    StartFleet();
    CtlRun run = Ctl({"send", Q(a), "power-on", "--poll-delay", "0"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains("result: RC_OK"));
    EXPECT_TRUE(run.out.contains("power: 1"));
    CtlRun byIndex = Ctl({"send", Q(a), "1", "--poll-delay", "0"});
    EXPECT_TRUE(byIndex.out.contains("power: 2"));
}

TEST_F(CtlBoardCommands, RefreshPrintsReportRowsInTheOrderGiven) {
    std::string first = AddBoard({"projectorName One", "serial S1"});
    std::string second = AddBoard({"projectorName Two,Comma", "serial S2"});
    StartFleet();
    QString list = WriteFile("boards", Q("# fleet\n" + second + "\n\n" + first + "  # trailing\n"));
    CtlRun run = Ctl({"refresh", "--from", list, "--csv"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    QStringList rows = run.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(rows.size(), 2);
    EXPECT_TRUE(rows[0].contains(",LAN,,\"Two,Comma\",S2,"));
    EXPECT_TRUE(rows[0].endsWith(Q("," + second)));
    EXPECT_TRUE(rows[1].endsWith(Q("," + first)));
    EXPECT_TRUE(run.err.contains("refreshed 2 projectors in"));
    CtlRun bad = Ctl({"refresh", "--from", WriteFile("bad", "10.0.0.1\nnot-an-address\n")});
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_TRUE(bad.err.contains("line 2"));
}

TEST_F(CtlBoardCommands, GroupSendReachesEveryBoard) {
    std::string a = AddBoard({"power on"});
    std::string b = AddBoard({"power on"});
    StartFleet();
    CtlRun run = Ctl({"send", "--group", WriteFile("group", Q(a + "\n" + b + "\n")), "standby"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(Q(a + " power: 2")));
    EXPECT_TRUE(run.out.contains(Q(b + " power: 2")));
}

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
