#include "settings/Value.h"

#include <gtest/gtest.h>

#include "TestProfile.h"

namespace {

using ValueTest = ProfileTest;

}  // namespace

TEST_F(ValueTest, EmptyStoreGivesTheDefaults) {
    CValue value;
    EXPECT_EQ(value.GetViewInfoVisible(), "11111111111");
    EXPECT_EQ(value.GetViewInfoWidth(), "98,96,104,111,84,71,110,109,47,73,78");
    EXPECT_EQ(value.GetViewInfoOrder(), "0,1,2,3,4,5,6,7,8,9,10");
    EXPECT_EQ(value.GetListSort(), 0);
    EXPECT_EQ(value.GetListSortOrder(), 0);
    EXPECT_EQ(value.GetGroupCount(), 0);
    EXPECT_EQ(value.GetSelectGroup(), 0);
    EXPECT_EQ(value.GetControllerVisible(), 0);
    EXPECT_EQ(value.GetOnlyBroadcastBoardIP(), "");
    EXPECT_EQ(value.GetAutoSearchFlag(), 1);
    EXPECT_EQ(value.GetAutoSearchInterval(), 3);
    EXPECT_EQ(value.GetProjectorSearchPort(), 5006);
    EXPECT_EQ(value.GetClientDataPortStart(), 1025);
    EXPECT_EQ(value.GetClientDataPortEnd(), 65535);
    EXPECT_EQ(value.GetProjectorSearchSecond(), 15);
    EXPECT_EQ(value.GetAutoUpdateFlag(), 1);
    EXPECT_EQ(value.GetAutoUpdateInterval(), 60);
    EXPECT_EQ(value.GetBrowserPath(), "");
    EXPECT_EQ(value.GetPowerOnMoving(), 1);
    EXPECT_EQ(value.GetNextPowerOnTime(), 3);
    EXPECT_EQ(value.GetAutoUpdateSecondMinimum(), 60);
    EXPECT_EQ(value.GetAlertStatus(), "1,1,1,1,1,1");
    EXPECT_EQ(value.GetErrorLoging(), 0);
    EXPECT_EQ(value.GetErrorLogFile(), "");
    EXPECT_EQ(value.GetMailSMTPServer(), "");
    EXPECT_EQ(value.GetMailErrorStatus(), "");
    EXPECT_EQ(value.GetMailToAddress(4), "");
    EXPECT_EQ(value.GetMailToStatus(0), "0,0");
    EXPECT_EQ(value.GetMailPeriodicalKind(), 0);
    EXPECT_EQ(value.GetMailPeriodicalTime(), "");
    EXPECT_EQ(value.GetMailPeriodicalDayStatus(), "");
    EXPECT_EQ(value.GetMailPeriodicalByWeek(), 0);
    EXPECT_EQ(value.GetMailPeriodicalByMonth(), 1);
    EXPECT_EQ(value.GetProjectorCount(-1), 0);
    EXPECT_TRUE(value.GetProjector(3, 0).IsEmpty());
}

TEST_F(ValueTest, WrittenValuesReachTheFileAtOnce) {
    CValue value;
    value.SetAutoUpdateInterval(90);
    value.SetMailSenderAppendix("line 1\nline 2, 日本語");
    value.SetMailToStatus(3, "1,0");
    value.SetGroupName(2, "会議室");
    CValue reread(Reopen());
    EXPECT_EQ(reread.GetAutoUpdateInterval(), 90);
    EXPECT_EQ(reread.GetMailSenderAppendix(), "line 1\nline 2, 日本語");
    EXPECT_EQ(reread.GetMailToStatus(3), "1,0");
    EXPECT_EQ(reread.GetGroupName(2), "会議室");
}

TEST_F(ValueTest, PlacementMustBeExactly44Bytes) {
    CValue value;
    CWindowPlacement placement;
    placement.showCmd = SW_SHOWMAXIMIZED;
    placement.left = -10;
    placement.bottom = 700;
    value.SetPlacement(PLACEMENT_CONTROLLER, placement);
    CWindowPlacement out;
    EXPECT_EQ(value.GetPlacement(PLACEMENT_CONTROLLER, out), 0);
    EXPECT_EQ(out.showCmd, SW_SHOWMAXIMIZED);
    EXPECT_EQ(out.left, -10);
    EXPECT_EQ(out.bottom, 700);
    EXPECT_EQ(value.GetBinary("Settings", "ControllerPos").ToString().substr(0, 12),
              LeInt(44) + LeInt(0) + LeInt(3));

    for (std::size_t size : {43u, 45u}) {
        value.WriteBinary("Settings", "WindowPos", CBinary(std::string(size, '\x07')));
        out.showCmd = 99;
        EXPECT_EQ(value.GetPlacement(PLACEMENT_WINDOW, out), -1) << size;
        EXPECT_EQ(out.length, 44);  // prepared, not copied
        EXPECT_EQ(out.showCmd, 0);
    }
    value.WriteBinary("Settings", "WindowPos", CBinary(std::string(44, '\x01')));
    EXPECT_EQ(value.GetPlacement(PLACEMENT_WINDOW, out), 0);
    EXPECT_EQ(out.length, 0x01010101);
}

TEST_F(ValueTest, SectionAndValueNames) {
    EXPECT_EQ(CValue::GroupSectionName(-1), "All");
    EXPECT_EQ(CValue::GroupSectionName(-5), "All");
    EXPECT_EQ(CValue::GroupSectionName(12), "Group12");
    EXPECT_EQ(CValue::ProjectorValueName(0), "Projector0");
}

TEST_F(ValueTest, DeleteGroupSectionsLeavesSectionsBeyondTheCount) {
    CValue value;
    for (int n = -1; n <= 3; ++n)
        value.SetProjectorCount(n, 1);
    value.SetGroupCount(3);
    value.DeleteGroupSections();
    EXPECT_EQ(value.GetGroupCount(), 0);
    std::vector<std::string> sections = value.Store().SectionNames();
    EXPECT_EQ(sections, (std::vector<std::string>{"Group3", "Settings"}));
}

TEST_F(ValueTest, DeleteGroupSectionsDoesNothingForANegativeCount) {
    CValue value;
    value.SetProjectorCount(-1, 2);
    value.SetGroupCount(-1);
    value.DeleteGroupSections();
    EXPECT_EQ(value.GetGroupCount(), -1);
    EXPECT_EQ(value.GetProjectorCount(-1), 2);
}
