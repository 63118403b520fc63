// The frame's stored placement: the opening rectangle (raised to the screen
// origin and the minimum size, pulled back from off-screen), maximised or
// not, and what is stored for a frame.
#include <gtest/gtest.h>

#include "app/FramePlacement.h"
#include "settings/SettingsDefs.h"

namespace {

CWindowPlacement Stored(int left, int top, int right, int bottom, int showCmd = SW_SHOWNORMAL) {
    CWindowPlacement p;
    p.showCmd = showCmd;
    p.left = left;
    p.top = top;
    p.right = right;
    p.bottom = bottom;
    return p;
}

const std::vector<QRect> kOneScreen = {QRect(0, 0, 1920, 1080)};
const std::vector<QRect> kTwoScreens = {QRect(0, 0, 1920, 1080), QRect(1920, 0, 1280, 1024)};

}  // namespace

TEST(FramePlacement, NegativeCornerAndSmallSizeAreRaisedToOriginAndMinimum) {
    EXPECT_EQ(CFramePlacement::OpeningRect(Stored(-50, -20, 100, 100), kOneScreen), QRect(0, 0, 380, 200));
}

TEST(FramePlacement, RectangleOnAScreenOpensAsStored) {
    EXPECT_EQ(CFramePlacement::OpeningRect(Stored(100, 50, 900, 650), kOneScreen), QRect(100, 50, 800, 600));
    // Partly on the second screen is on a screen.
    EXPECT_EQ(CFramePlacement::OpeningRect(Stored(3000, 900, 3400, 1200), kTwoScreens),
              QRect(3000, 900, 400, 300));
}

TEST(FramePlacement, RectangleOffEveryScreenIsPulledOntoTheNearest) {
    // Right of both screens, level with the second: onto the second, at its right edge.
    EXPECT_EQ(CFramePlacement::OpeningRect(Stored(5000, 100, 5800, 700), kTwoScreens),
              QRect(3200 - 800, 100, 800, 600));
    // A monitor that was below the first one is gone.
    EXPECT_EQ(CFramePlacement::OpeningRect(Stored(200, 2000, 1000, 2600), kOneScreen), QRect(200, 1080 - 600, 800, 600));
    // Larger than the screen: its top-left corner goes to the screen's.
    EXPECT_EQ(CFramePlacement::OpeningRect(Stored(4000, 4000, 7000, 6000), kOneScreen), QRect(0, 0, 3000, 2000));
}

TEST(FramePlacement, DamagedNumbersStillGiveAUsableRectangle) {
    const QRect rect = CFramePlacement::OpeningRect(Stored(INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN), kOneScreen);
    EXPECT_TRUE(rect.intersects(kOneScreen[0]));
    EXPECT_GE(rect.width(), 380);
    EXPECT_GE(rect.height(), 200);
}

TEST(FramePlacement, OnlyShowCommandThreeOpensMaximised) {
    EXPECT_TRUE(CFramePlacement::OpensMaximised(Stored(0, 0, 10, 10, SW_SHOWMAXIMIZED)));
    EXPECT_FALSE(CFramePlacement::OpensMaximised(Stored(0, 0, 10, 10, SW_SHOWMINIMIZED)));
    EXPECT_FALSE(CFramePlacement::OpensMaximised(Stored(0, 0, 10, 10, SW_SHOWNORMAL)));
    EXPECT_FALSE(CFramePlacement::OpensMaximised(Stored(0, 0, 10, 10, 0)));
}

TEST(FramePlacement, StoredPlacementHoldsFramePositionAndClientSize) {
    const CWindowPlacement p = CFramePlacement::FromFrame(QPoint(30, 40), QSize(800, 500), false);
    EXPECT_EQ(p.length, PLACEMENT_SIZE);
    EXPECT_EQ(p.showCmd, SW_SHOWNORMAL);
    EXPECT_EQ(p.left, 30);
    EXPECT_EQ(p.top, 40);
    EXPECT_EQ(p.right, 830);
    EXPECT_EQ(p.bottom, 540);
    EXPECT_EQ(CFramePlacement::FromFrame(QPoint(0, 0), QSize(800, 500), true).showCmd, SW_SHOWMAXIMIZED);
    // What is stored opens again where it was.
    EXPECT_EQ(CFramePlacement::OpeningRect(p, kOneScreen), QRect(30, 40, 800, 500));
    CWindowPlacement back;
    ASSERT_TRUE(back.FromBinary(p.ToBinary()));
    EXPECT_EQ(back.showCmd, SW_SHOWNORMAL);
    EXPECT_EQ(back.right, 830);
}
