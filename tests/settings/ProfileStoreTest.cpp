#include "settings/ProfileStore.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QTimer>
#include <gtest/gtest.h>

#include "TestProfile.h"
#include "settings/Value.h"

namespace {

using ProfileStoreTest = ProfileTest;

std::string AllBytes() {
    std::string bytes;
    for (int i = 0; i < 256; ++i)
        bytes += char(i);
    return bytes + "日本語";
}

}  // namespace

TEST_F(ProfileStoreTest, EveryKindReadsBackAsWritten) {
    CProfileStore& store = CurrentProfile();
    store.WriteInt("Settings", "A", -2147483647 - 1);
    store.WriteText("Settings", "B", "  spaced, \"quoted\" @at\\slash\ttab  ");
    store.WriteText("Settings", "C", "");
    store.WriteBinary("All", "Projector0", CBinary(AllBytes()));
    store.WriteBinary("All", "Projector1", CBinary());
    CProfileStore& reread = Reopen();
    std::int32_t number = 0;
    std::string text;
    CBinary bytes;
    EXPECT_TRUE(reread.ReadInt("Settings", "A", number));
    EXPECT_EQ(number, -2147483647 - 1);
    EXPECT_TRUE(reread.ReadText("Settings", "B", text));
    EXPECT_EQ(text, "  spaced, \"quoted\" @at\\slash\ttab  ");
    EXPECT_TRUE(reread.ReadText("Settings", "C", text));
    EXPECT_EQ(text, "");
    EXPECT_TRUE(reread.ReadBinary("All", "Projector0", bytes));
    EXPECT_EQ(bytes.ToString(), AllBytes());
    EXPECT_TRUE(reread.ReadBinary("All", "Projector1", bytes));
    EXPECT_TRUE(bytes.IsEmpty());
    EXPECT_FALSE(reread.ReadText("Settings", "Missing", text));
}

TEST_F(ProfileStoreTest, IntsThatDoNotParseReadAsMissing) {
    WriteFileText("[Settings]\nGroupCount=abc\nListSort= 7 \nSelectGroup=4294967295\n"
                  "AutoSearchInterval=99999999999\nListSortOrder=1.5\n");
    CValue value(Reopen());
    EXPECT_EQ(value.GetGroupCount(), 0);
    EXPECT_EQ(value.GetListSort(), 7);
    EXPECT_EQ(value.GetSelectGroup(), -1);  // an unsigned 32-bit value as stored elsewhere
    EXPECT_EQ(value.GetAutoSearchInterval(), 3);
    EXPECT_EQ(value.GetListSortOrder(), 0);
}

TEST_F(ProfileStoreTest, UnquotedListsWrittenByHandReadAsText) {
    WriteFileText("[Settings]\nAlertStatus=0,1, ,0\nViewInfoOrder = 3 ,2\n");
    CValue value(Reopen());
    EXPECT_EQ(value.GetAlertStatus(), "0,1,,0");
    EXPECT_EQ(value.GetViewInfoOrder(), "3,2");
}

TEST_F(ProfileStoreTest, NewFileIsPrivateAndNoTemporaryFileStays) {
    CurrentProfile().WriteInt("Settings", "GroupCount", 1);
    struct stat st {};
    ASSERT_EQ(::stat(m_profilePath.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    CurrentProfile().WriteInt("Settings", "GroupCount", 2);
    EXPECT_EQ(QDir(m_dir.path() + "/TARNEL").entryList(QDir::Files), QStringList{"Lumivex.conf"});
}

TEST_F(ProfileStoreTest, FailedWriteLeavesFileAndValuesAsTheyWere) {
    CProfileStore& store = CurrentProfile();
    store.WriteInt("Settings", "GroupCount", 4);
    std::string before = FileText();
    bool written = true;
    {
        CFileSizeLimit limit(before.size() + 100);
        written = store.WriteBinary("All", "Projector0", CBinary(std::string(4000, 'x')));
    }
    EXPECT_FALSE(written);
    EXPECT_EQ(FileText(), before);
    CBinary bytes;
    EXPECT_FALSE(store.ReadBinary("All", "Projector0", bytes));
    EXPECT_EQ(QDir(m_dir.path() + "/TARNEL").entryList(QDir::Files), QStringList{"Lumivex.conf"});

    // The next write does not bring the failed change back.
    EXPECT_TRUE(store.WriteInt("Settings", "GroupCount", 5));
    EXPECT_FALSE(Reopen().ReadBinary("All", "Projector0", bytes));
    std::int32_t count = 0;
    EXPECT_TRUE(CurrentProfile().ReadInt("Settings", "GroupCount", count));
    EXPECT_EQ(count, 5);
}

TEST_F(ProfileStoreTest, BatchReachesTheFileOnlyAtItsEnd) {
    CProfileStore& store = CurrentProfile();
    store.WriteInt("Settings", "GroupCount", 1);
    std::string before = FileText();
    {
        CProfileBatch outer(store);
        store.RemoveSection("Settings");
        {
            CProfileBatch inner(store);
            store.WriteInt("All", "ProjectorCount", 2);
        }
        EXPECT_EQ(FileText(), before);
        EXPECT_TRUE(outer.Commit());
    }
    EXPECT_EQ(Reopen().SectionNames(), std::vector<std::string>{"All"});
}

TEST_F(ProfileStoreTest, DamagedFileIsReadLenientlyAndCopiedAsideBeforeTheFirstWrite) {
    std::string damaged = "\xEF\xBB\xBFjunk line\n[Settings\nListSort=4\n[Settings]\nGroupCount=2\n[All]\n"
                          "ProjectorCount=1\nProjector0=@ByteArray(\\x1\n=\n";
    WriteFileText(damaged);
    CProfileStore& store = Reopen();
    CValue value(store);
    EXPECT_EQ(value.GetGroupCount(), 2);
    EXPECT_EQ(value.GetAutoUpdateInterval(), 60);
    EXPECT_EQ(store.DamagedCopyPath(), "");
    EXPECT_EQ(FileText(), damaged);  // reading changes nothing

    value.SetListSortOrder(1);
    ASSERT_EQ(store.DamagedCopyPath(), m_profilePath + ".damaged");
    QFile copy(QString::fromStdString(store.DamagedCopyPath()));
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
    EXPECT_EQ(copy.readAll().toStdString(), damaged);
    CValue reread(Reopen());
    EXPECT_EQ(CurrentProfile().DamagedCopyPath(), "");
    EXPECT_EQ(reread.GetGroupCount(), 2);
    EXPECT_EQ(reread.GetListSortOrder(), 1);
}

TEST_F(ProfileStoreTest, GarbageFileGivesDefaultsWithoutACrash) {
    std::string garbage;
    for (int i = 0; i < 4096; ++i)
        garbage += char((i * 7919 + 13) % 256);
    WriteFileText(garbage);
    CValue value(Reopen());
    EXPECT_EQ(value.GetAutoSearchInterval(), 3);
    EXPECT_EQ(value.GetAlertStatus(), "1,1,1,1,1,1");
    value.SetAutoSearchInterval(9);
    EXPECT_EQ(CValue(Reopen()).GetAutoSearchInterval(), 9);
}

namespace {

ino_t FileIdentity(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? st.st_ino : 0;
}

std::int32_t IntOf(CProfileStore& store, const char* name) {
    std::int32_t value = -1;
    store.ReadInt("Settings", name, value);
    return value;
}

}  // namespace

TEST_F(ProfileStoreTest, TwoStoresOfOneFileKeepEachOthersValues) {
    CProfileStore first(m_profilePath);
    CProfileStore second(m_profilePath);
    EXPECT_EQ(IntOf(first, "ListSort"), -1);
    EXPECT_EQ(IntOf(second, "SelectGroup"), -1);
    ASSERT_TRUE(first.WriteInt("Settings", "ListSort", 3));
    ASSERT_TRUE(second.WriteInt("Settings", "SelectGroup", 2));
    EXPECT_EQ(IntOf(first, "SelectGroup"), 2);  // read anew, not from what it read before
    ASSERT_TRUE(first.WriteInt("Settings", "ListSortOrder", 1));
    ASSERT_TRUE(second.RemoveSection("Old"));
    CProfileStore& reread = Reopen();
    EXPECT_EQ(IntOf(reread, "ListSort"), 3);
    EXPECT_EQ(IntOf(reread, "SelectGroup"), 2);
    EXPECT_EQ(IntOf(reread, "ListSortOrder"), 1);
}

TEST_F(ProfileStoreTest, ReadSeesAHandEditAtOnce) {
    CProfileStore& store = CurrentProfile();
    store.WriteInt("Settings", "ListSort", 1);
    EXPECT_EQ(IntOf(store, "ListSort"), 1);
    WriteFileText("[Settings]\nListSort=4\nAlertStatus=0,1\n");
    EXPECT_EQ(IntOf(store, "ListSort"), 4);
    std::string text;
    EXPECT_TRUE(store.ReadText("Settings", "AlertStatus", text));
    EXPECT_EQ(text, "0,1");
    store.WriteInt("Settings", "SelectGroup", 1);
    EXPECT_NE(FileText().find("ListSort=4"), std::string::npos) << FileText();
}

TEST_F(ProfileStoreTest, UnchangedValuesAreNotWritten) {
    CProfileStore& store = CurrentProfile();
    store.WriteInt("Settings", "ListSort", 2);
    store.WriteText("Settings", "BrowserPath", "/usr/bin/xdg-open");
    store.WriteBinary("All", "Projector0", CBinary(AllBytes()));
    ino_t before = FileIdentity(m_profilePath);
    EXPECT_TRUE(store.WriteInt("Settings", "ListSort", 2));
    EXPECT_TRUE(store.WriteText("Settings", "ListSort", "2"));  // the same text on disk
    EXPECT_TRUE(store.WriteText("Settings", "BrowserPath", "/usr/bin/xdg-open"));
    EXPECT_TRUE(store.WriteBinary("All", "Projector0", CBinary(AllBytes())));
    EXPECT_TRUE(store.RemoveSection("Missing"));
    EXPECT_EQ(FileIdentity(m_profilePath), before);
    EXPECT_TRUE(store.WriteInt("Settings", "ListSort", 3));
    EXPECT_NE(FileIdentity(m_profilePath), before);
}

TEST_F(ProfileStoreTest, WritesOfOneEventLoopTurnReachTheFileTogetherAtItsEnd) {
    CProfileStore& store = CurrentProfile();
    store.WriteInt("Settings", "ListSort", 1);
    const std::string before = FileText();
    std::string duringTurn;
    std::int32_t readDuringTurn = 0;
    QEventLoop loop;
    QTimer::singleShot(0, &loop, [&] {
        CValue value(store);
        value.SetListSort(5);
        value.SetSelectGroup(2);
        value.SetGroupName(0, "Hall");
        readDuringTurn = value.GetListSort();
        duringTurn = FileText();
        QTimer::singleShot(0, &loop, &QEventLoop::quit);
    });
    loop.exec();
    EXPECT_EQ(readDuringTurn, 5);
    EXPECT_EQ(duringTurn, before);
    CValue reread(Reopen());
    EXPECT_EQ(reread.GetListSort(), 5);
    EXPECT_EQ(reread.GetSelectGroup(), 2);
    EXPECT_EQ(reread.GetGroupName(0), "Hall");
}

TEST_F(ProfileStoreTest, TwoProcessesWritingAtOnceLoseNoValue) {
    constexpr int kValues = 40;
    CurrentProfile().WriteInt("Settings", "Start", 0);
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        CProfileStore own(m_profilePath);
        bool ok = true;
        for (int i = 0; i < kValues; ++i)
            ok = own.WriteInt("Child", "Value" + std::to_string(i), i) && ok;
        ::_exit(ok ? 0 : 1);
    }
    CProfileStore& store = CurrentProfile();
    for (int i = 0; i < kValues; ++i)
        EXPECT_TRUE(store.WriteInt("Parent", "Value" + std::to_string(i), i));
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    CProfileStore& reread = Reopen();
    for (const char* section : {"Child", "Parent"})
        EXPECT_EQ(reread.ValueNames(section).size(), std::size_t(kValues)) << section;
    EXPECT_EQ(QDir(m_dir.path() + "/TARNEL").entryList(QDir::Files), QStringList{"Lumivex.conf"});
}
