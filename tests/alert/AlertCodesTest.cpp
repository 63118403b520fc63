// Which status raises which caution box: its message bit, heading and
// message texts (the message is also the error log's).
#include "alert/AlertCodes.h"

#include <gtest/gtest.h>

#include "alert/AlertDefs.h"
#include "comm/ProjectorCodes.h"
#include "platform/ResourceText.h"

TEST(AlertCodes, EveryErrorStatusHasItsBitHeadingAndMessage) {
    const struct {
        int status, bit, message, heading;
    } kRows[] = {
        {STATUS_TEMP_BIT0, 0x001, 10008, 10007}, {STATUS_TEMP_BIT6, 0x040, 10014, 10006},
        {STATUS_FAN, 0x002, 10009, 10006},       {STATUS_FILTER_COVER, 0x004, 10010, 10006},
        {STATUS_LAMP_BIT3, 0x008, 10011, 10007}, {STATUS_LAMP_BIT4, 0x010, 10012, 10006},
        {STATUS_LAMP_BIT5, 0x020, 10013, 10006}, {STATUS_COMM_ERROR, 0x100, 10015, 10006},
        {STATUS_CONNECTION_ERROR, 0x200, 10016, 10006},
    };
    for (const auto& row : kRows) {
        SCOPED_TRACE(row.status);
        EXPECT_EQ(AlertMessageBit(row.status), row.bit);
        EXPECT_EQ(AlertMessageTextId(row.bit), row.message);
        EXPECT_EQ(AlertHeadingTextId(row.bit), row.heading);
        // The bundle names every condition and both headings.
        EXPECT_FALSE(ResourceText(row.message).empty());
        EXPECT_FALSE(ResourceText(row.heading).empty());
    }
}

TEST(AlertCodes, NormalUnknownAndStrayValuesRaiseNothing) {
    for (int status : {STATUS_UNKNOWN, STATUS_NORMAL, 11, -1, 0x7fffffff})
        EXPECT_EQ(AlertMessageBit(status), ALERT_BIT_NONE) << status;
    // Bits that name no single condition (none, a mix, an unused bit).
    for (int bit : {0, 0x003, 0x080, 0x400})
        EXPECT_EQ(AlertMessageTextId(bit) + AlertHeadingTextId(bit), 0) << bit;
}
