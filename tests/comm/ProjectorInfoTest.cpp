#include <gtest/gtest.h>

#include "comm/CommDefs.h"
#include "comm/ProjectorInfo.h"
#include "platform/ResourceText.h"

TEST(ProjectorInfo, FreshRecordShowsNothingKnown) {
    CProjectorInfo record;
    EXPECT_EQ(record.StatusText(), "");
    EXPECT_EQ(record.PowerText(), "----");
    EXPECT_EQ(record.LampText(), "");
    EXPECT_EQ(record.HoursText(), "----");
    EXPECT_EQ(record.LifeText(), "----");
    EXPECT_EQ(record.InputText(), "----");
    EXPECT_EQ(record.DisplayState(), DISPLAY_UNKNOWN);
}

TEST(ProjectorInfo, DisplayStateFollowsBusyThenStatusThenPower) {
    CProjectorInfo record;
    record.status = STATUS_NORMAL;
    record.power = POWER_ON;
    record.busy = 1;
    EXPECT_EQ(record.DisplayState(), DISPLAY_BUSY);
    record.busy = 0;
    EXPECT_EQ(record.DisplayState(), DISPLAY_ON);
    record.power = POWER_STANDBY;
    EXPECT_EQ(record.DisplayState(), DISPLAY_STANDBY);
    record.power = POWER_UNKNOWN;
    EXPECT_EQ(record.DisplayState(), DISPLAY_UNKNOWN);
    record.status = STATUS_CONNECTION_ERROR;
    EXPECT_EQ(record.DisplayState(), DISPLAY_CONNECTION_ERROR);
    for (int status = STATUS_TEMP_BIT0; status <= STATUS_COMM_ERROR; ++status) {
        record.status = status;
        EXPECT_EQ(record.DisplayState(), DISPLAY_ERROR) << status;
    }
    record.status = 11;
    EXPECT_EQ(record.DisplayState(), DISPLAY_UNKNOWN);
}

TEST(ProjectorInfo, SameValuesIgnoresBusyAndCredentials) {
    CProjectorInfo a, b;
    a.name = b.name = "PJ";
    b.busy = 1;
    b.userName = "admin";
    b.password = "secret";
    b.rememberCredentials = 1;
    EXPECT_TRUE(a.SameValues(b));
    b.lampMinutes = 15;
    EXPECT_FALSE(a.SameValues(b));
}

TEST(ProjectorInfo, CopyValuesKeepsCredentialsButTakesBusy) {
    CProjectorInfo persistent, working;
    persistent.userName = "admin";
    persistent.password = "pw";
    persistent.rememberCredentials = 1;
    working.status = STATUS_FAN;
    working.ttavText = "x";
    working.busy = 1;
    persistent.CopyValues(working);
    EXPECT_TRUE(persistent.SameValues(working));
    EXPECT_EQ(persistent.busy, 1);
    EXPECT_EQ(persistent.userName, "admin");
    EXPECT_EQ(persistent.password, "pw");
    EXPECT_EQ(persistent.rememberCredentials, 1);
    working.CopyFrom(persistent);
    EXPECT_EQ(working.userName, "admin");
    working.Reset();
    EXPECT_EQ(working.lampHours, -1);
    EXPECT_EQ(working.userName, "");
}

TEST(ProjectorInfo, TextsComeFromTheResourceBundle) {
    ASSERT_TRUE(LoadResourceBundle());
    CProjectorInfo record;
    record.input = INPUT_VIDEO_BASE + 4;
    EXPECT_EQ(record.InputText(), ResourceText(1109));
    EXPECT_FALSE(record.InputText().empty());
    record.input = 7;
    EXPECT_EQ(record.InputText(), "----");
    record.input = INPUT_VIDEO_BASE;
    EXPECT_EQ(record.InputText(), "----");
    record.status = STATUS_TEMP_BIT6;
    EXPECT_EQ(record.StatusText(), ResourceText(5001));
    record.status = 11;
    EXPECT_EQ(record.StatusText(), "");
    record.lampState = 1;
    EXPECT_EQ(record.LampText(), ResourceText(5201));
    record.lampState = 2;
    EXPECT_EQ(record.LampText(), ResourceText(5200));
    record.power = POWER_STANDBY;
    EXPECT_EQ(record.PowerText(), ResourceText(5101));
    EXPECT_EQ(ResourceText(258), "J");
}

TEST(ProjectorInfo, HoursAndLifeRenderings) {
    CProjectorInfo record;
    record.lampHours = 1234;
    EXPECT_EQ(record.HoursText(), "1234 h");
    record.lampMinutes = 45;
    EXPECT_EQ(record.HoursText(), "1234 h 45 min");
    record.lampLife = 80;
    EXPECT_EQ(record.LifeText(), "80%");
    record.name = "PJ";
    record.ipAddress = "10.0.0.1";
    EXPECT_EQ(record.DisplayName(), "PJ (10.0.0.1)");
}

TEST(ResourceText, MissingBundleGivesEmptyTexts) {
    EXPECT_FALSE(LoadResourceBundle("/nonexistent/lumivex.rcc"));
    EXPECT_EQ(ResourceText(5000), "");
    EXPECT_EQ(ResourceText(57344), "");
    ASSERT_TRUE(LoadResourceBundle());
    EXPECT_EQ(ResourceText(57344), "Lumivex");
    EXPECT_EQ(ResourceText(999999), "");
}
