#include <cstdlib>

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <gtest/gtest.h>

#include "TestProfile.h"
#include "settings/AlertSetInfo.h"
#include "settings/CommSetInfo.h"
#include "settings/GeneralSetInfo.h"
#include "settings/Value.h"
#include "settings/ViewSortInfo.h"

namespace {

// Puts a stand-in xdg-open (or none) alone on PATH for one test.
class SetInfoTest : public ProfileTest {
protected:
    void SetUp() override {
        ProfileTest::SetUp();
        const char* path = std::getenv("PATH");
        m_oldPath = path ? path : "";
        m_bin = m_dir.path().toStdString() + "/bin";
        ::setenv("PATH", m_bin.c_str(), 1);
    }
    void TearDown() override {
        ::setenv("PATH", m_oldPath.c_str(), 1);
        ProfileTest::TearDown();
    }
    std::string InstallBrowser() {
        QDir().mkpath(QString::fromStdString(m_bin));
        QString program = QString::fromStdString(m_bin + "/xdg-open");
        QFile file(program);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\n");
        file.close();
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return program.toStdString();
    }

    std::string m_oldPath;
    std::string m_bin;
};

}  // namespace

TEST_F(SetInfoTest, EmptyStoreLoadsDefaultsAndTheFirstSaveWritesThemAll) {
    std::string browser = InstallBrowser();
    CGeneralSetInfo general;
    CCommSetInfo comm;
    CAlertSetInfo alert;
    CViewSortInfo sort;
    general.Load();
    comm.Load();
    alert.Load();
    sort.Load();
    EXPECT_EQ(general.browserPath, browser);
    EXPECT_EQ(general.BrowserPathError(), "");
    EXPECT_EQ(general.autoUpdateInterval, 60);
    EXPECT_EQ(comm.projectorSearchPort, 5006);
    EXPECT_EQ(alert.alertStatus, (std::array<int, 6>{1, 1, 1, 1, 1, 1}));
    std::string documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation).toStdString();
    EXPECT_EQ(alert.errorLogFile, documents + "/Error.Log");

    general.Save();
    comm.Save();
    alert.Save();
    sort.Save();
    CValue value(Reopen());
    EXPECT_EQ(value.GetBrowserPath(), browser);
    EXPECT_EQ(value.GetErrorLogFile(), documents + "/Error.Log");
    EXPECT_EQ(value.GetAlertStatus(), "1,1,1,1,1,1");
    for (const char* name : {"AutoUpdateFlag", "AutoUpdateInterval", "PowerOnMoving", "NextPowerOnTime",
                             "AutoSearchFlag", "AutoSearchInterval", "ProjectorSearchPort", "ClientDataPortStart",
                             "ClientDataPortEnd", "ErrorLoging", "ListSort", "ListSortOrder"}) {
        std::int32_t stored = 0;
        EXPECT_TRUE(value.Store().ReadInt("Settings", name, stored)) << name;
    }
}

TEST_F(SetInfoTest, MissingBrowserGivesTheMessageAndAnEmptyPath) {
    CGeneralSetInfo general;
    general.Load();
    EXPECT_EQ(general.browserPath, "");
    EXPECT_EQ(general.BrowserPathError(), "Error (SHGetFolderPath = 00000002)");
    std::string error;
    EXPECT_EQ(CGeneralSetInfo::DefaultBrowserPath(&error), "");
    EXPECT_FALSE(error.empty());
}

TEST_F(SetInfoTest, StoredBrowserPathWinsOverTheDefault) {
    InstallBrowser();
    CValue().SetBrowserPath("/opt/browser");
    CGeneralSetInfo general;
    general.Load();
    EXPECT_EQ(general.browserPath, "/opt/browser");
}

TEST_F(SetInfoTest, AlertListsAndSwitches) {
    CValue value;
    CAlertSetInfo alert;
    value.SetAlertStatus("0,1");
    value.SetErrorLoging(7);
    value.SetErrorLogFile("/var/log/pj.log");
    alert.Load();
    EXPECT_EQ(alert.alertStatus, (std::array<int, 6>{0, 1, 1, 1, 1, 1}));
    EXPECT_EQ(alert.errorLoging, 1);
    EXPECT_EQ(alert.errorLogFile, "/var/log/pj.log");

    CAlertSetInfo second;
    value.SetAlertStatus(" 1 ,, 0 ,x");
    value.SetErrorLogFile("");
    second.Load();
    EXPECT_EQ(second.alertStatus, (std::array<int, 6>{1, 0, 0, 1, 1, 1}));
    EXPECT_EQ(second.errorLogFile, CAlertSetInfo::DefaultErrorLogFile());
    second.alertStatus[3] = 5;
    second.Save();
    EXPECT_EQ(value.GetAlertStatus(), "1,0,0,1,1,1");
}

TEST_F(SetInfoTest, SavedRecordsLoadBack) {
    CCommSetInfo comm;
    comm.autoSearchFlag = 0;
    comm.clientDataPortStart = 0;
    comm.clientDataPortEnd = 0;
    comm.Save();
    CViewSortInfo sort;
    sort.listSort = 7;
    sort.listSortOrder = 1;
    sort.Save();
    Reopen();
    CCommSetInfo comm2;
    CViewSortInfo sort2;
    comm2.Load();
    sort2.Load();
    EXPECT_EQ(comm2.autoSearchFlag, 0);
    EXPECT_EQ(comm2.clientDataPortEnd, 0);
    EXPECT_EQ(comm2.autoSearchInterval, 3);
    EXPECT_EQ(sort2.listSort, 7);
    EXPECT_EQ(sort2.listSortOrder, 1);
}
