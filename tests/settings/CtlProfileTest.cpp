// lumivexctl list, import and remove against a profile of the test's own.
#include <fstream>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <QProcess>
#include <gtest/gtest.h>

#include "TestProfile.h"
#include "comm/ProjectorInfo.h"
#include "platform/InstanceLock.h"
#include "settings/Groups.h"
#include "settings/Value.h"

namespace {

struct CtlRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

class CtlProfileTest : public ProfileTest {
protected:
    CtlRun Ctl(const QStringList& args) {
        QProcess process;
        process.start(QStringLiteral(LUMIVEXCTL_PATH),
                      QStringList{"--profile", QString::fromStdString(m_profilePath)} + args);
        EXPECT_TRUE(process.waitForFinished(30000));
        return {process.exitCode(), process.readAllStandardOutput().toStdString(),
                process.readAllStandardError().toStdString()};
    }
    std::string WriteList(const std::string& text) {
        std::string path = m_dir.path().toStdString() + "/list.txt";
        std::ofstream(path) << text;
        return path;
    }
    // A stored list: three projectors (one keeping a login), two groups.
    void StoreFleet() {
        GroupList groups;
        groups.push_back(std::make_unique<CGroupItem>("All"));
        CProjectorInfo record;
        CProjectorInfo* added[3];
        for (int i = 0; i < 3; ++i) {
            record.ipAddress = "10.0.0." + std::to_string(i + 1);
            record.name = "PJ" + std::to_string(i + 1);
            record.macAddress = i == 1 ? "" : "00:00:5E:00:53:0" + std::to_string(i);
            record.rememberCredentials = i == 2;
            record.userName = i == 2 ? "admin" : "";
            record.password = i == 2 ? "pw" : "";
            groups[0]->AddCopy(record, &added[i]);
        }
        auto hall = std::make_unique<CGroupItem2>("Hall");
        hall->Add(added[2]);
        hall->Add(added[0]);
        auto lobby = std::make_unique<CGroupItem2>("Lobby");
        lobby->Add(added[1]);
        groups.push_back(std::move(hall));
        groups.push_back(std::move(lobby));
        ASSERT_EQ(SaveGroups(groups), 0);
    }
    GroupList Stored() {
        Reopen();
        GroupList groups;
        EXPECT_EQ(LoadGroups(groups, "All"), 0);
        return groups;
    }
};

std::vector<std::string> Addresses(const CGroupItem& group) {
    std::vector<std::string> addresses;
    for (int i = 0; i < group.GetCount(); ++i)
        addresses.push_back(group.GetAt(i)->ipAddress);
    return addresses;
}

}  // namespace

TEST_F(CtlProfileTest, ListJsonGivesProjectorsInOrderAndGroupsInTabOrder) {
    StoreFleet();
    CtlRun run = Ctl({"list", "--json"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    QJsonObject root = QJsonDocument::fromJson(QByteArray::fromStdString(run.out)).object();
    QJsonArray projectors = root["projectors"].toArray();
    ASSERT_EQ(projectors.size(), 3);
    EXPECT_EQ(projectors[0].toObject()["ipAddress"].toString(), "10.0.0.1");
    EXPECT_EQ(projectors[1].toObject()["macAddress"].toString(), "");
    EXPECT_EQ(projectors[2].toObject()["name"].toString(), "PJ3");
    EXPECT_EQ(projectors[2].toObject()["rememberCredentials"].toInt(), 1);
    EXPECT_EQ(projectors[2].toObject()["userName"].toString(), "admin");
    EXPECT_FALSE(projectors[2].toObject().contains("password"));
    QJsonArray groups = root["groups"].toArray();
    ASSERT_EQ(groups.size(), 2);
    EXPECT_EQ(groups[0].toObject()["name"].toString(), "Hall");
    EXPECT_EQ(groups[0].toObject()["members"].toArray(), (QJsonArray{"10.0.0.3", "10.0.0.1"}));
    EXPECT_EQ(groups[1].toObject()["members"].toArray(), (QJsonArray{"10.0.0.2"}));

    CtlRun text = Ctl({"list"});
    EXPECT_NE(text.out.find("Hall: 10.0.0.3 10.0.0.1"), std::string::npos) << text.out;
}

TEST_F(CtlProfileTest, ImportAddsNewAddressesOnce) {
    StoreFleet();
    CtlRun run = Ctl({"import", QString::fromStdString(WriteList("# new\n10.0.0.9\n 10.0.0.1 # known\n\n10.0.0.9\n"))});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "added 1, already known 2\n");
    GroupList groups = Stored();
    EXPECT_EQ(Addresses(*groups[0]), (std::vector<std::string>{"10.0.0.1", "10.0.0.2", "10.0.0.3", "10.0.0.9"}));
    EXPECT_EQ(groups[0]->GetAt(2)->password, "pw");  // logins survive the rewrite
    EXPECT_EQ(Addresses(*groups[1]), (std::vector<std::string>{"10.0.0.3", "10.0.0.1"}));
}

TEST_F(CtlProfileTest, ImportWithABadLineChangesNothing) {
    StoreFleet();
    std::string before = FileText();
    // Line 4 is an address up to a zero byte, with more after it.
    using namespace std::string_literals;
    const std::string list = "10.0.0.8\nprojector\n10.0.0.256\n10.0.0.7\0x\n"s;
    CtlRun run = Ctl({"import", QString::fromStdString(WriteList(list))});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("line 2"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("line 3"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("line 4"), std::string::npos) << run.err;
    EXPECT_EQ(FileText(), before);
}

TEST_F(CtlProfileTest, RemoveTakesTheProjectorOutOfEveryGroup) {
    StoreFleet();
    CtlRun run = Ctl({"remove", "10.0.0.1"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    GroupList groups = Stored();
    EXPECT_EQ(Addresses(*groups[0]), (std::vector<std::string>{"10.0.0.2", "10.0.0.3"}));
    EXPECT_EQ(Addresses(*groups[1]), std::vector<std::string>{"10.0.0.3"});
    EXPECT_EQ(Addresses(*groups[2]), std::vector<std::string>{"10.0.0.2"});
    EXPECT_EQ(Ctl({"remove", "10.0.0.1"}).exitCode, 1);
    EXPECT_EQ(Ctl({"remove", "not-an-address"}).exitCode, 2);
}

TEST_F(CtlProfileTest, WritingCommandsRefuseWhileTheConsoleRuns) {
    StoreFleet();
    std::string before = FileText();
    std::unique_ptr<QLockFile> console = AcquireInstanceLock();
    ASSERT_TRUE(console);
    CtlRun import = Ctl({"import", QString::fromStdString(WriteList("10.0.0.7\n"))});
    CtlRun remove = Ctl({"remove", "10.0.0.2"});
    EXPECT_EQ(import.exitCode, 1);
    EXPECT_NE(import.err.find("console is running"), std::string::npos) << import.err;
    EXPECT_EQ(remove.exitCode, 1);
    EXPECT_EQ(FileText(), before);
    EXPECT_EQ(Ctl({"list"}).exitCode, 0);  // reading is fine
    console.reset();
    EXPECT_EQ(Ctl({"remove", "10.0.0.2"}).exitCode, 0);
}

TEST_F(CtlProfileTest, UnreadableProfileIsReportedAndLeftAlone) {
    CValue value;
    value.SetProjectorCount(-1, 1);
    value.SetProjector(-1, 0, CBinary("garbage"));
    std::string before = FileText();
    CtlRun list = Ctl({"list"});
    EXPECT_EQ(list.exitCode, 1);
    EXPECT_NE(list.err.find("Projector0"), std::string::npos) << list.err;
    EXPECT_EQ(Ctl({"import", QString::fromStdString(WriteList("10.0.0.5\n"))}).exitCode, 1);
    EXPECT_EQ(FileText(), before);
}

TEST_F(CtlProfileTest, OpenStoreSeesAndKeepsWhatLumivexctlWrote) {
    StoreFleet();
    CValue value;  // the console's store, read before lumivexctl writes
    EXPECT_EQ(value.GetGroupCount(), 2);
    value.SetListSort(4);
    CtlRun run = Ctl({"import", QString::fromStdString(WriteList("10.0.0.9\n"))});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    GroupList seen;
    ASSERT_EQ(LoadGroups(seen, "All"), 0);
    EXPECT_EQ(Addresses(*seen[0]).back(), "10.0.0.9");
    value.SetSelectGroup(2);
    GroupList groups = Stored();
    EXPECT_EQ(Addresses(*groups[0]), (std::vector<std::string>{"10.0.0.1", "10.0.0.2", "10.0.0.3", "10.0.0.9"}));
    EXPECT_EQ(groups[0]->GetAt(2)->password, "pw");
    EXPECT_EQ(CValue().GetListSort(), 4);
    EXPECT_EQ(CValue().GetSelectGroup(), 2);
}
