#include <QTest>
#include <gtest/gtest.h>

#include "UiTestSupport.h"
#include "platform/ResourceText.h"
#include "ui/MyTabCtrl.h"
#include "ui/UiDefs.h"
#include "ui/UiFont.h"

TEST(GroupTabs, DoubleClickTellsTheView) {
    CMessageRecorder view;
    CMyTabCtrl tabs(&view);
    tabs.addTab("All");
    tabs.addTab("Hall 1");
    tabs.show();
    QTest::mouseDClick(&tabs, Qt::LeftButton, {}, tabs.tabRect(1).center());
    EXPECT_TRUE(view.WaitFor(WM_TAB_DBLCLK));
    QTest::mouseDClick(&tabs, Qt::RightButton, {}, tabs.tabRect(1).center());
    DrainEvents();
    EXPECT_EQ(view.Count(WM_TAB_DBLCLK), 1);
}

TEST(UiFont, FaceAndPointSizeFromTheTexts) {
    QFont font;
    ASSERT_TRUE(MakeUiFont(font));
    EXPECT_EQ(font.family().toStdString(), ResourceText(IDS_UI_FONT_FACE));
    EXPECT_EQ(font.pointSize(), std::stoi(ResourceText(IDS_UI_FONT_POINTS)));
    EXPECT_EQ(font.weight(), QFont::Normal);
    QFont heading;
    ASSERT_TRUE(MakeUiFont(heading, 16));
    EXPECT_EQ(heading.pixelSize(), 16);
}
