// The controller window: its buttons and labels where they belong, each
// button's message to the view, the caption naming the target, and the
// close box.
#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include "UiTestSupport.h"
#include "platform/ResourceText.h"
#include "settings/GroupItem.h"
#include "ui/ControllerWnd.h"
#include "ui/MyButton.h"
#include "ui/UiDefs.h"

namespace {

// The view's side: records what it is posted and answers the target question.
class CFakeView : public TMsgWnd<QWidget> {
public:
    std::vector<unsigned> posted;
    CProjectorInfo* record = nullptr;
    CGroupItem* group = nullptr;

protected:
    LRESULT OnMessage(unsigned msg, WPARAM wParam, LPARAM lParam) override {
        if (msg != WM_CTRL_GET_TARGET) {
            posted.push_back(msg);
            return 0;
        }
        *reinterpret_cast<CProjectorInfo**>(wParam) = record;
        *reinterpret_cast<CGroupItem**>(lParam) = group;
        return 0;
    }
};

std::string Caption(const QWidget& window) { return window.windowTitle().toStdString(); }

std::string Prefix() { return ResourceText(IDS_CONTROLLER) + " : "; }

}  // namespace

TEST(ControllerWnd, ButtonsAndLabelsSitAtTheirPlacesNamedByTheirTexts) {
    CFakeView view;
    CControllerWnd controller(&view, nullptr);
    EXPECT_EQ(controller.size(), QSize(620, 167));
    EXPECT_EQ(controller.minimumSize(), controller.maximumSize());
    EXPECT_EQ(controller.Button(0)->geometry(), QRect(65, 10, 73, 21));
    EXPECT_EQ(controller.Button(22)->geometry(), QRect(513, 114, 88, 21));
    for (int i = 0; i < CTRL_BUTTON_COUNT; ++i) {
        CMyButton* button = controller.Button(i);
        ASSERT_NE(button, nullptr) << i;
        EXPECT_EQ(button->Id(), 1000 + i);
        EXPECT_EQ(button->geometry(), CControllerWnd::ButtonRect(i)) << i;
        EXPECT_FALSE(button->text().isEmpty()) << i;
        EXPECT_EQ(button->text().toStdString(), ResourceText(IDS_CTRL_BUTTON_FIRST + i));
        EXPECT_EQ(button->accessibleName(), button->text());
    }
    EXPECT_EQ(controller.Button(23), nullptr);
    const auto labels = controller.findChildren<QLabel*>();
    ASSERT_EQ(labels.size(), 6);
    for (int j = 0; j < 6; ++j) {
        EXPECT_EQ(labels[j]->geometry(), QRect(CControllerWnd::LabelRect(j))) << j;
        EXPECT_EQ(labels[j]->accessibleName().toStdString(), ResourceText(IDS_CTRL_LABEL_FIRST + j));
        EXPECT_FALSE(labels[j]->accessibleName().isEmpty());
    }
    // Rows of buttons never overlap their labels.
    for (int i = 0; i < CTRL_BUTTON_COUNT; ++i)
        for (const QLabel* label : labels)
            EXPECT_FALSE(controller.Button(i)->geometry().intersects(label->geometry())) << i;
}

TEST(ControllerWnd, EachButtonPostsItsOwnMessageToTheView) {
    CFakeView view;
    CControllerWnd controller(&view, nullptr);
    controller.SetTarget(nullptr, nullptr);
    CProjectorInfo record = Record("Hall", "10.0.0.5");
    controller.SetTarget(&record, nullptr);  // the web-page button takes clicks too
    controller.show();
    for (int i = 0; i < CTRL_BUTTON_COUNT; ++i)
        QTest::mouseClick(controller.Button(i), Qt::LeftButton);
    DrainEvents();
    std::vector<unsigned> expected;
    for (int i = 0; i < CTRL_BUTTON_COUNT; ++i)
        expected.push_back(WM_CTRL_BUTTON_FIRST + unsigned(i));
    EXPECT_EQ(view.posted, expected);
}

TEST(ControllerWnd, CaptionNamesTheTargetAndOnlyAProjectorHasAWebPage) {
    CFakeView view;
    CGroupItem hall("Hall");
    CProjectorInfo record = Record("Lobby", "192.168.0.5");
    view.record = &record;
    view.group = &hall;
    CControllerWnd controller(&view, nullptr);
    EXPECT_EQ(Caption(controller), Prefix() + ResourceText(IDS_ALL_GROUP));
    EXPECT_FALSE(controller.Button(CTRL_BUTTON_WEB_PAGE)->isEnabled());
    controller.AskTarget();
    EXPECT_EQ(Caption(controller), Prefix() + "Lobby(192.168.0.5)");
    EXPECT_TRUE(controller.Button(CTRL_BUTTON_WEB_PAGE)->isEnabled());
    controller.SetTarget(nullptr, &hall);
    EXPECT_EQ(Caption(controller), Prefix() + "Hall");
    EXPECT_FALSE(controller.Button(CTRL_BUTTON_WEB_PAGE)->isEnabled());
}

TEST(ControllerWnd, CloseBoxSaysSoAndDestroysTheWindow) {
    CFakeView view;
    QPointer<CControllerWnd> controller = new CControllerWnd(&view, nullptr);
    QSignalSpy closing(controller.data(), &CControllerWnd::Closing);
    controller->show();
    controller->close();
    EXPECT_EQ(closing.count(), 1);
    EXPECT_TRUE(RunEventsUntil([&] {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return controller.isNull();
    }, 5000));
}
