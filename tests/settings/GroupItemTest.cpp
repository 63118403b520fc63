#include <gtest/gtest.h>

#include "TestProfile.h"
#include "comm/ProjectorInfo.h"
#include "settings/GroupItem2.h"
#include "settings/Groups.h"
#include "settings/ProjectorStoredForm.h"
#include "settings/Value.h"

namespace {

using GroupTest = ProfileTest;

CProjectorInfo Record(const std::string& ip, const std::string& mac = {}, const std::string& name = {}) {
    CProjectorInfo record;
    record.ipAddress = ip;
    record.macAddress = mac;
    record.name = name;
    return record;
}

// The All group with the given records, then one named group per list of
// member indexes.
GroupList MakeGroups(const std::vector<CProjectorInfo>& records, const std::vector<std::vector<int>>& named) {
    GroupList groups;
    groups.push_back(std::make_unique<CGroupItem>("All"));
    for (const CProjectorInfo& record : records)
        groups[0]->AddCopy(record, nullptr);
    for (std::size_t g = 0; g < named.size(); ++g) {
        auto group = std::make_unique<CGroupItem2>("G" + std::to_string(g));
        for (int i : named[g])
            group->Add(groups[0]->GetAt(i));
        groups.push_back(std::move(group));
    }
    return groups;
}

// Names and member addresses of every group, to compare lists.
std::vector<std::string> Describe(const GroupList& groups) {
    std::vector<std::string> lines;
    for (const auto& group : groups) {
        std::string line = group->Name() + ":";
        for (int i = 0; i < group->GetCount(); ++i)
            line += " " + group->GetAt(i)->ipAddress + "/" + group->GetAt(i)->macAddress;
        lines.push_back(line);
    }
    return lines;
}

}  // namespace

TEST(GroupItem, LookupsAndBounds) {
    CGroupItem all;
    CProjectorInfo *a, *b;
    all.AddCopy(Record("10.0.0.1", "AA"), &a);
    all.AddCopy(Record("10.0.0.2", "BB"), &b);
    EXPECT_EQ(all.GetAt(-1), nullptr);
    EXPECT_EQ(all.GetAt(2), nullptr);
    EXPECT_EQ(all.FindByAddress("10.0.0.2"), b);
    EXPECT_EQ(all.FindByMac("AA"), a);
    EXPECT_EQ(all.FindByMac("CC"), nullptr);
    EXPECT_EQ(all.Contains(a), 1);
    CProjectorInfo outsider;
    EXPECT_EQ(all.Contains(&outsider), 0);
    EXPECT_EQ(all.RemoveAt(2), 0);
    EXPECT_EQ(all.Remove(nullptr), -1);
}

TEST(GroupItem, AddCopyKeepsTheLogin) {
    CGroupItem all;
    CProjectorInfo source = Record("10.0.0.1");
    source.rememberCredentials = 1;
    source.userName = "u";
    source.password = "p";
    source.busy = 1;
    CProjectorInfo* copy = nullptr;
    ASSERT_EQ(all.AddCopy(source, &copy), 0);
    ASSERT_NE(copy, &source);
    EXPECT_EQ(copy->password, "p");
    EXPECT_EQ(copy->rememberCredentials, 1);
    EXPECT_EQ(copy->busy.load(), 1);
}

TEST(GroupItem, RemoveTakesTheRecordItselfBeforeAnEqualOne) {
    CGroupItem all;
    CProjectorInfo *first, *second;
    all.AddCopy(Record("10.0.0.1"), &first);
    all.AddCopy(Record("10.0.0.1"), &second);  // same values
    EXPECT_EQ(all.Remove(second), 1);
    ASSERT_EQ(all.GetCount(), 1);
    EXPECT_EQ(all.GetAt(0), first);
    CProjectorInfo equal = Record("10.0.0.1");
    EXPECT_EQ(all.Remove(&equal), 1);  // an equal copy still finds it
    EXPECT_EQ(all.GetCount(), 0);
}

TEST(GroupItem2, RemoveNeverTakesAnotherRecordWithAnEmptyMac) {
    CGroupItem all;
    CProjectorInfo *a, *b, *c;
    all.AddCopy(Record("10.0.0.1"), &a);
    all.AddCopy(Record("10.0.0.2"), &b);
    all.AddCopy(Record("10.0.0.3", "CC"), &c);
    CGroupItem2 group("G");
    group.Add(a);
    group.Add(b);
    group.Add(c);
    EXPECT_EQ(group.Remove(b), 1);
    EXPECT_EQ(group.Contains(a), 1);
    EXPECT_EQ(group.Contains(b), 0);
    CGroupItem2 other("H");
    other.Add(a);
    EXPECT_EQ(other.Remove(b), 0);  // b is not a member: a stays
    EXPECT_EQ(other.Contains(a), 1);
    CProjectorInfo sameMac = Record("10.9.9.9", "CC");
    EXPECT_EQ(group.Remove(&sameMac), 1);  // a copy is found by its MAC address
    EXPECT_EQ(group.Contains(c), 0);
    EXPECT_EQ(all.GetCount(), 3);  // unlinking deletes nothing
}

TEST(GroupItem2, CopyGroupFromTakesNameAndMembers) {
    CGroupItem all("All");
    CProjectorInfo *a, *b;
    all.AddCopy(Record("10.0.0.1"), &a);
    all.AddCopy(Record("10.0.0.2"), &b);
    CGroupItem2 group("old");
    group.Add(b);
    group.CopyGroupFrom(all);
    EXPECT_EQ(group.Name(), "All");
    ASSERT_EQ(group.GetCount(), 2);
    EXPECT_EQ(group.GetAt(0), a);
    EXPECT_EQ(group.RemoveAt(0), 1);
    EXPECT_EQ(group.GetAt(0), b);
    EXPECT_EQ(all.GetCount(), 2);
}

TEST_F(GroupTest, EmptyStoreLoadsAnEmptyAllGroupOnly) {
    GroupList groups;
    ASSERT_EQ(LoadGroups(groups, "ALL"), 0);
    EXPECT_EQ(Describe(groups), std::vector<std::string>{"ALL:"});
}

TEST_F(GroupTest, SavedListLoadsBackIdentically) {
    GroupList groups = MakeGroups(
        {Record("10.0.0.1", "AA", "one"), Record("10.0.0.2", "", "two"), Record("10.0.0.3", "CC", "三")},
        {{2, 0}, {}, {1}});
    groups[0]->GetAt(1)->rememberCredentials = 1;
    groups[0]->GetAt(1)->userName = "admin";
    groups[0]->GetAt(1)->password = "pw";
    ASSERT_EQ(SaveGroups(groups), 0);
    GroupList loaded;
    Reopen();
    ASSERT_EQ(LoadGroups(loaded, "All"), 0);
    EXPECT_EQ(Describe(loaded), Describe(groups));
    EXPECT_EQ(loaded[0]->GetAt(1)->password, "pw");
    EXPECT_EQ(loaded[0]->GetAt(2)->name, "三");
    EXPECT_EQ(CValue().GetGroupCount(), 3);
}

TEST_F(GroupTest, SavingReplacesAllStoredGroupsAtOnce) {
    ASSERT_EQ(SaveGroups(MakeGroups({Record("10.0.0.1"), Record("10.0.0.2")}, {{0}, {1}, {0, 1}})), 0);
    ASSERT_EQ(SaveGroups(MakeGroups({Record("10.0.0.7")}, {{0}})), 0);
    GroupList loaded;
    ASSERT_EQ(LoadGroups(loaded, "All"), 0);
    EXPECT_EQ(Describe(loaded), (std::vector<std::string>{"All: 10.0.0.7/", "G0: 10.0.0.7/"}));
    EXPECT_EQ(CValue().Store().SectionNames(), (std::vector<std::string>{"All", "Group0", "Settings"}));
}

TEST_F(GroupTest, FailedSaveLeavesTheStoredListIntact) {
    ASSERT_EQ(SaveGroups(MakeGroups({Record("10.0.0.1"), Record("10.0.0.2")}, {{1}})), 0);
    std::string before = FileText();
    std::vector<CProjectorInfo> many;
    for (int i = 0; i < 200; ++i)
        many.push_back(Record("10.1.0." + std::to_string(i)));
    GroupList bigger = MakeGroups(many, {{1, 2, 3}});
    int result = 0;
    {
        CFileSizeLimit limit(before.size() + 200);
        result = SaveGroups(bigger);
    }
    EXPECT_EQ(result, -1);
    EXPECT_EQ(FileText(), before);
    GroupList loaded;
    ASSERT_EQ(LoadGroups(loaded, "All"), 0);  // the store's own view is the old list too
    EXPECT_EQ(Describe(loaded), (std::vector<std::string>{"All: 10.0.0.1/ 10.0.0.2/", "G0: 10.0.0.2/"}));
}

TEST_F(GroupTest, UnreadableAllRecordStopsTheLoadAndNamesTheValue) {
    CValue value;
    CBinary good;
    SaveTo(Record("10.0.0.1"), good);
    const std::string oversized = LeInt(1000) + "abc";
    for (const std::string& bad : {good.ToString().substr(0, good.Size() - 1), std::string("\xFF\xFE garbage"),
                                   oversized}) {
        value.SetProjector(-1, 0, good);
        value.SetProjector(-1, 1, CBinary(bad));
        value.SetProjector(-1, 2, good);
        value.SetProjectorCount(-1, 3);
        GroupList groups;
        std::string error;
        EXPECT_EQ(LoadGroups(groups, "All", &error), -1);
        ASSERT_EQ(groups.size(), 1u);
        EXPECT_EQ(groups[0]->GetCount(), 1);  // read before the bad value
        EXPECT_NE(error.find("Projector1"), std::string::npos) << error;
    }
}

TEST_F(GroupTest, EmptyOrMissingAllValuesAreSkipped) {
    CValue value;
    CBinary good;
    SaveTo(Record("10.0.0.1"), good);
    value.SetProjector(-1, 0, CBinary());
    value.SetProjector(-1, 2, good);
    value.SetProjectorCount(-1, 3);
    GroupList groups;
    ASSERT_EQ(LoadGroups(groups, "All"), 0);
    EXPECT_EQ(groups[0]->GetCount(), 1);
}

TEST_F(GroupTest, DamagedNamedGroupEntriesAreSkipped) {
    GroupList groups = MakeGroups({Record("10.0.0.1", "AA"), Record("10.0.0.2", "BB")}, {{0, 1}, {1}});
    ASSERT_EQ(SaveGroups(groups), 0);
    CValue value;
    CBinary last = value.GetProjector(0, 1);
    value.SetProjector(0, 1, CBinary(last.Data(), last.Size() - 3));  // truncated second entry
    value.SetProjector(1, 0, CBinary("garbage"));
    GroupList loaded;
    ASSERT_EQ(LoadGroups(loaded, "All"), 0);
    EXPECT_EQ(Describe(loaded), (std::vector<std::string>{"All: 10.0.0.1/AA 10.0.0.2/BB", "G0: 10.0.0.1/AA", "G1:"}));
}

TEST_F(GroupTest, HugeStoredCountsDoNotWalkAbsentValues) {
    ASSERT_EQ(SaveGroups(MakeGroups({Record("10.0.0.1", "AA")}, {{0}})), 0);
    CValue value;
    value.SetGroupCount(2147483647);
    value.SetProjectorCount(-1, 2147483647);
    value.SetProjectorCount(0, 2147483647);
    GroupList loaded;
    ASSERT_EQ(LoadGroups(loaded, "All"), 0);
    EXPECT_EQ(Describe(loaded), (std::vector<std::string>{"All: 10.0.0.1/AA", "G0: 10.0.0.1/AA"}));
    value.DeleteGroupSections();
    EXPECT_EQ(value.Store().SectionNames(), std::vector<std::string>{"Settings"});
}

TEST_F(GroupTest, ProfileWrittenElsewhereLoads) {
    // A profile as another writer of the same layout makes it: every byte
    // of a binary value escaped, lists without quotes, sections in another
    // order, a Windows line end.
    auto escaped = [](const std::string& bytes) {
        std::string text = "@ByteArray(";
        for (unsigned char byte : bytes) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02x", byte);
            text += hex;
        }
        return text + ")";
    };
    auto stored = [](const std::string& name, const std::string& ip, const std::string& mac, int status) {
        return Counted(name) + Counted(ip) + Counted(mac) + LeInt(status) + LeInt(2) + Counted("M") + LeInt(1) +
               LeInt(10) + LeInt(90) + LeInt(1) + Counted("") + Counted("S") + LeInt(0);
    };
    std::string a = stored("Front", "192.168.1.20", "00:00:5E:00:53:01", 9);
    std::string b = stored("Back", "192.168.1.21", "", 1);
    std::string entryA = Counted("Stage") + Counted(a);
    std::string entryB = Counted("Stage") + Counted(b);
    WriteFileText("[Group0]\r\nGroupName=Stage\r\nProjectorCount=2\r\nProjector0=" + escaped(entryA) +
                  "\r\nProjector1=" + escaped(entryA + entryB) + "\r\n\r\n[All]\r\nProjectorCount=2\r\nProjector0=" +
                  escaped(a) + "\r\nProjector1=" + escaped(b) +
                  "\r\n\r\n[Settings]\r\nGroupCount=1\r\nAlertStatus=1,0,1,1,1,1\r\nSelectGroup=1\r\n");
    Reopen();
    GroupList loaded;
    ASSERT_EQ(LoadGroups(loaded, "All"), 0);
    EXPECT_EQ(Describe(loaded), (std::vector<std::string>{"All: 192.168.1.20/00:00:5E:00:53:01 192.168.1.21/",
                                                          "Stage: 192.168.1.20/00:00:5E:00:53:01 192.168.1.21/"}));
    EXPECT_EQ(loaded[0]->GetAt(0)->name, "Front");
    EXPECT_EQ(loaded[0]->GetAt(0)->power, 2);
    EXPECT_EQ(loaded[0]->GetAt(0)->status, 0);
    EXPECT_EQ(CValue().GetAlertStatus(), "1,0,1,1,1,1");
    EXPECT_EQ(CValue().GetSelectGroup(), 1);
}
