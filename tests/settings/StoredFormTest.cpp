// The stored forms byte for byte: one record, the All section and a named
// group's cumulative entries, and how they read back.
#include <gtest/gtest.h>

#include "TestProfile.h"
#include "comm/ProjectorInfo.h"
#include "settings/Crypt.h"
#include "settings/GroupItem2.h"
#include "settings/Groups.h"
#include "settings/ProjectorStoredForm.h"
#include "settings/Value.h"

namespace {

using StoredFormTest = ProfileTest;

CProjectorInfo Polled(const std::string& name, const std::string& ip, const std::string& mac) {
    CProjectorInfo record;
    record.name = name;
    record.ipAddress = ip;
    record.macAddress = mac;
    record.status = 3;
    record.power = 1;
    record.model = "MODEL-1";
    record.lampState = 2;
    record.lampHours = 1200;
    record.lampLife = 80;
    record.input = 0x1002;
    record.inputSignal = "1024 x 768";
    record.serialNumber = "SN001";
    record.lamp1Time = "1200";  // not stored
    record.ttavText = "99";
    record.lampMinutes = 30;
    return record;
}

// The stored form of a record without a login, spelt out.
std::string Expected(const CProjectorInfo& r) {
    return Counted(r.name) + Counted(r.ipAddress) + Counted(r.macAddress) + LeInt(r.status) + LeInt(r.power) +
           Counted(r.model) + LeInt(r.lampState) + LeInt(r.lampHours) + LeInt(r.lampLife) + LeInt(r.input) +
           Counted(r.inputSignal) + Counted(r.serialNumber) + LeInt(0);
}

std::string Entry(const std::string& group, const CProjectorInfo& r) { return Counted(group) + Counted(Expected(r)); }

}  // namespace

TEST_F(StoredFormTest, RecordWithoutLoginIsThirteenItems) {
    CProjectorInfo record = Polled("PJ-A", "192.168.0.10", "00:11:22:33:44:55");
    record.userName = "admin";  // not stored without the remember flag
    record.password = "secret";
    CBinary bytes;
    SaveTo(record, bytes);
    EXPECT_EQ(bytes.ToString(), Expected(record));

    CProjectorInfo loaded = Polled("old", "old", "old");
    loaded.password = "old";
    ASSERT_EQ(LoadFrom(loaded, bytes), 0);
    EXPECT_EQ(loaded.name, "PJ-A");
    EXPECT_EQ(loaded.ipAddress, "192.168.0.10");
    EXPECT_EQ(loaded.macAddress, "00:11:22:33:44:55");
    EXPECT_EQ(loaded.power, 1);
    EXPECT_EQ(loaded.status, 0);  // polled values wait for the first poll
    EXPECT_EQ(loaded.model, "");
    EXPECT_EQ(loaded.lampHours, -1);
    EXPECT_EQ(loaded.input, 0);
    EXPECT_EQ(loaded.serialNumber, "");
    EXPECT_EQ(loaded.lamp1Time, "");
    EXPECT_EQ(loaded.lampMinutes, -1);
    EXPECT_EQ(loaded.userName, "");
    EXPECT_EQ(loaded.password, "");
    EXPECT_EQ(loaded.DisplayState(), 5);
}

TEST_F(StoredFormTest, RecordWithLoginAddsNameAndSealedPassword) {
    CProjectorInfo record = Polled("PJ-B", "10.0.0.2", "");
    record.rememberCredentials = 1;
    record.userName = "operator";
    record.password = "pa55";
    CBinary bytes;
    SaveTo(record, bytes);
    std::string head = Expected(record);
    head.replace(head.size() - 4, 4, LeInt(1));
    std::string text = bytes.ToString();
    ASSERT_EQ(text.substr(0, head.size()), head);
    int position = int(head.size());
    EXPECT_EQ(bytes.ReadText(position), "operator");
    CBinary cipher = bytes.ReadBlock(position);
    CBinary key = bytes.ReadBlock(position);
    EXPECT_EQ(position, int(bytes.Size()));
    EXPECT_EQ(CCrypt().Decrypt(cipher, key), "pa55");

    CProjectorInfo loaded;
    ASSERT_EQ(LoadFrom(loaded, bytes), 0);
    EXPECT_EQ(loaded.rememberCredentials, 1);
    EXPECT_EQ(loaded.userName, "operator");
    EXPECT_EQ(loaded.password, "pa55");
}

TEST_F(StoredFormTest, ShortOrEmptyRecordFailsAndLeavesTheRecordReset) {
    CProjectorInfo record = Polled("PJ-C", "10.0.0.3", "");
    record.rememberCredentials = 1;
    record.userName = "u";
    record.password = "p";
    CBinary bytes;
    SaveTo(record, bytes);
    for (std::size_t cut : {std::size_t(0), std::size_t(1), std::size_t(10), std::size_t(bytes.Size() - 1)}) {
        CBinary truncated(bytes.Data(), cut);
        CProjectorInfo loaded = Polled("keep", "keep", "keep");
        EXPECT_EQ(LoadFrom(loaded, truncated), -1) << cut;
        EXPECT_EQ(loaded.name, "") << cut;
        EXPECT_EQ(loaded.lampHours, -1) << cut;
    }
}

TEST_F(StoredFormTest, PasswordOfAnotherKeyLoadsEmpty) {
    CProjectorInfo record = Polled("PJ-D", "10.0.0.4", "");
    record.rememberCredentials = 1;
    record.userName = "u";
    record.password = "p";
    CBinary bytes;
    SaveTo(record, bytes);
    ::setenv("XDG_DATA_HOME", (m_dir.path() + "/other").toLocal8Bit().constData(), 1);
    CProjectorInfo loaded;
    ASSERT_EQ(LoadFrom(loaded, bytes), 0);
    EXPECT_EQ(loaded.userName, "u");
    EXPECT_EQ(loaded.password, "");
}

TEST_F(StoredFormTest, AllSectionHoldsOneValuePerRecord) {
    CGroupItem all("All");
    CProjectorInfo records[3] = {Polled("A", "10.0.0.1", "AA"), Polled("B", "10.0.0.2", ""),
                                 Polled("C", "10.0.0.3", "CC")};
    for (const CProjectorInfo& record : records)
        all.AddCopy(record, nullptr);
    ASSERT_EQ(all.Save(-1), 0);
    CValue value;
    EXPECT_EQ(value.GetProjectorCount(-1), 3);
    for (int m = 0; m < 3; ++m)
        EXPECT_EQ(value.GetProjector(-1, m).ToString(), Expected(records[m])) << m;
    EXPECT_EQ(value.Store().ValueNames("All"),
              (std::vector<std::string>{"Projector0", "Projector1", "Projector2", "ProjectorCount"}));
}

TEST_F(StoredFormTest, NamedGroupValuesRepeatTheEntriesBeforeThem) {
    CGroupItem all;
    CProjectorInfo *a, *b, *c;
    all.AddCopy(Polled("A", "10.0.0.1", "AA"), &a);
    all.AddCopy(Polled("B", "10.0.0.2", "BB"), &b);
    all.AddCopy(Polled("C", "10.0.0.3", ""), &c);
    CGroupItem2 group("Hall");
    group.Add(a);
    group.Add(b);
    group.Add(c);
    ASSERT_EQ(group.Save(0), 0);
    CValue value;
    EXPECT_EQ(value.GetGroupName(0), "Hall");
    EXPECT_EQ(value.GetProjectorCount(0), 3);
    EXPECT_EQ(value.GetProjector(0, 0).ToString(), Entry("Hall", *a));
    EXPECT_EQ(value.GetProjector(0, 1).ToString(), Entry("Hall", *a) + Entry("Hall", *b));
    EXPECT_EQ(value.GetProjector(0, 2).ToString(), Entry("Hall", *a) + Entry("Hall", *b) + Entry("Hall", *c));

    CGroupItem2 loaded;
    ASSERT_EQ(loaded.Load(0, &all), 0);
    EXPECT_EQ(loaded.Name(), "Hall");
    ASSERT_EQ(loaded.GetCount(), 3);
    EXPECT_EQ(loaded.GetAt(0), a);  // the All group's records, not copies
    EXPECT_EQ(loaded.GetAt(2), c);  // no MAC address: found by IP address
}

TEST_F(StoredFormTest, MissingMiddleValueRestoresItsMemberFromTheNextValue) {
    CGroupItem all;
    CProjectorInfo *a, *b, *c;
    all.AddCopy(Polled("A", "10.0.0.1", "AA"), &a);
    all.AddCopy(Polled("B", "10.0.0.2", "BB"), &b);
    all.AddCopy(Polled("C", "10.0.0.3", "CC"), &c);
    CGroupItem2 group("G");
    for (CProjectorInfo* record : {a, b, c})
        group.Add(record);
    group.Save(0);
    std::string text = FileText();
    std::size_t start = text.find("Projector1=");
    ASSERT_NE(start, std::string::npos);
    text.erase(start, text.find('\n', start) - start + 1);
    WriteFileText(text);
    Reopen();

    CGroupItem2 loaded;
    ASSERT_EQ(loaded.Load(0, &all), 0);
    ASSERT_EQ(loaded.GetCount(), 2);
    EXPECT_EQ(loaded.GetAt(0), a);
    EXPECT_EQ(loaded.GetAt(1), b);  // read from value 2 at the old position; C is lost
}

TEST_F(StoredFormTest, GroupWithoutNameTakesItFromItsFirstEntry) {
    CValue value;
    CGroupItem all;
    CProjectorInfo* a;
    all.AddCopy(Polled("A", "10.0.0.1", "AA"), &a);
    value.SetGroupName(0, "");
    value.SetProjectorCount(0, 1);
    value.SetProjector(0, 0, CBinary(Entry("Lobby", *a)));
    CGroupItem2 loaded;
    ASSERT_EQ(loaded.Load(0, &all), 0);
    EXPECT_EQ(loaded.Name(), "Lobby");
    EXPECT_EQ(loaded.GetCount(), 1);
}

TEST_F(StoredFormTest, MembersMatchByMacFirstThenByAddress) {
    CGroupItem all;
    CProjectorInfo* known;
    all.AddCopy(Polled("K", "10.0.0.9", "KK"), &known);
    CValue value;
    value.SetGroupName(0, "G");
    // A stored member with the known address but a MAC address the All
    // group does not know is dropped.
    CProjectorInfo moved = Polled("K", "10.0.0.9", "ZZ");
    CProjectorInfo byAddress = Polled("K", "10.0.0.9", "");
    std::string entries = Entry("G", moved);
    value.SetProjector(0, 0, CBinary(entries));
    entries += Entry("G", byAddress);
    value.SetProjector(0, 1, CBinary(entries));
    value.SetProjectorCount(0, 2);
    CGroupItem2 loaded;
    ASSERT_EQ(loaded.Load(0, &all), 0);
    ASSERT_EQ(loaded.GetCount(), 1);
    EXPECT_EQ(loaded.GetAt(0), known);
}
