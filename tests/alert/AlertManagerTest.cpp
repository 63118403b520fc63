// The alert manager, its pop-ups and their caution boxes: one box per status
// code for the whole fleet, boxes for different codes open together (the
// newest on top), a closed box lets the code raise a new one, and the
// manager's end closes its boxes.
#include "alert/AlertManagerWnd.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMainWindow>
#include <QPointer>
#include <gtest/gtest.h>

#include "AlertTestSupport.h"
#include "alert/AlertDefs.h"
#include "alert/AlertPopupWnd.h"
#include "comm/ProjectorCodes.h"
#include "comm/ProjectorInfo.h"
#include "platform/ResourceText.h"
#include "ui/UiFont.h"

namespace {

CProjectorInfo Record(const std::string& address, int status) {
    CProjectorInfo record;
    record.ipAddress = address;
    record.status = status;
    return record;
}

QString Text(int id) { return QString::fromStdString(ResourceText(id)); }

void Settle() {
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
}

void Press(QWidget* widget, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &press);
}

}  // namespace

TEST(AlertManager, OneBoxPerCodeForTheFleetAndAClosedBoxAllowsANewOne) {
    CAlertManagerWnd manager(nullptr);
    const CProjectorInfo hall = Record("10.0.0.1", STATUS_FAN);
    const CProjectorInfo foyer = Record("10.0.0.2", STATUS_FAN);
    EXPECT_EQ(manager.AddAlert(nullptr), -1);
    EXPECT_EQ(manager.AddAlert(&hall), 1);
    // Listed before its box opens: the second fan error is held back already.
    EXPECT_EQ(manager.HasAlertFor(STATUS_FAN), 1);
    EXPECT_EQ(manager.AddAlert(&foyer), 0);
    int phase = 0;
    int boxesSeen = 0;
    ASSERT_TRUE(RunBoxScript([&] {
        const auto boxes = OpenBoxes();
        switch (phase) {
        case 0:
            if (boxes.size() != 1)
                return false;
            ++boxesSeen;
            EXPECT_EQ(boxes[0]->Bit(), ALERT_BIT_FAN);
            EXPECT_EQ(boxes[0]->HeadingText(), Text(IDS_ALERT_HEADING_WARNING));
            EXPECT_EQ(boxes[0]->MessageText(), Text(IDS_ALERT_FAN));
            EXPECT_EQ(boxes[0]->windowTitle(), Text(IDS_ALERT_APP_TITLE));
            EXPECT_TRUE(boxes[0]->windowFlags() & Qt::WindowStaysOnTopHint);
            EXPECT_TRUE(boxes[0]->isModal());
            EXPECT_EQ(manager.AddAlert(&foyer), 0);  // still one box while it waits
            ClickOk(boxes[0]);
            phase = 1;
            return false;
        case 1:
            if (!boxes.empty() || manager.HasAlertFor(STATUS_FAN))
                return false;
            EXPECT_EQ(manager.AddAlert(&foyer), 1);
            phase = 2;
            return false;
        default:
            if (boxes.size() != 1)
                return false;
            ++boxesSeen;
            Press(boxes[0], Qt::Key_Escape);
            return true;
        }
    }));
    Settle();
    EXPECT_EQ(boxesSeen, 2);
    EXPECT_TRUE(manager.Popups().empty());
    EXPECT_TRUE(OpenBoxes().empty());
}

TEST(AlertManager, DifferentCodesOpenTogetherNewestOnTopAndCloseInAnyOrder) {
    QMainWindow frame;
    frame.resize(800, 600);
    frame.show();
    CAlertManagerWnd manager(nullptr, &frame);
    QFont heading;
    ASSERT_TRUE(MakeUiFont(heading, 16));
    manager.SetHeadingFont(heading);
    const CProjectorInfo lamp6 = Record("10.0.0.1", STATUS_LAMP_BIT3);
    const CProjectorInfo lamp7 = Record("10.0.0.1", STATUS_LAMP_BIT4);
    ASSERT_EQ(manager.AddAlert(&lamp6), 1);
    ASSERT_EQ(manager.AddAlert(&lamp7), 1);
    std::vector<QPointer<CAlertPopupWnd>> popups;
    for (CAlertPopupWnd* popup : manager.Popups())
        popups.emplace_back(popup);
    int phase = 0;
    ASSERT_TRUE(RunBoxScript([&] {
        const auto boxes = OpenBoxes();
        if (phase == 0) {
            if (boxes.size() != 2)
                return false;
            CCautionDialog* older = manager.Popups()[0]->Box();
            CCautionDialog* newer = manager.Popups()[1]->Box();
            EXPECT_EQ(older->HeadingText(), Text(IDS_ALERT_HEADING_CAUTION));
            EXPECT_EQ(newer->HeadingText(), Text(IDS_ALERT_HEADING_WARNING));
            EXPECT_EQ(newer->MessageText(), Text(IDS_ALERT_LAMP_FLAG4));
            EXPECT_EQ(QApplication::activeModalWidget(), newer);
            // Centred over the main window, the one exactly over the other.
            EXPECT_EQ(newer->frameGeometry(), older->frameGeometry());
            EXPECT_EQ(newer->frameGeometry().center(), frame.frameGeometry().center());
            EXPECT_EQ(newer->parentWidget(), &frame);
            EXPECT_EQ(older->findChild<QLabel*>(QStringLiteral("cautionHeading"))->font().pixelSize(), 16);
            // The older box closes first; its code is free at once although
            // its modal loop waits under the newer box's.
            Press(older, Qt::Key_Return);
            phase = 1;
            return false;
        }
        if (phase == 1) {
            if (manager.HasAlertFor(STATUS_LAMP_BIT3) || boxes.size() != 1)
                return false;
            EXPECT_EQ(manager.HasAlertFor(STATUS_LAMP_BIT4), 1);
            ClickOk(boxes[0]);
            phase = 2;
            return false;
        }
        return boxes.empty() && manager.Popups().empty();
    }));
    Settle();
    for (const auto& popup : popups)
        EXPECT_TRUE(popup.isNull());
}

TEST(AlertManager, ManagersEndClosesItsBoxesAndOpensNoMore) {
    auto* manager = new CAlertManagerWnd(nullptr);
    const CProjectorInfo fan = Record("10.0.0.1", STATUS_FAN);
    const CProjectorInfo comm = Record("10.0.0.2", STATUS_COMM_ERROR);
    ASSERT_EQ(manager->AddAlert(&fan), 1);
    QPointer<CAlertPopupWnd> shown = manager->Popups()[0];
    ASSERT_TRUE(RunBoxScript([&] {
        if (OpenBoxes().size() != 1)
            return false;
        // A second pop-up whose box has not opened yet when the manager goes.
        manager->AddAlert(&comm);
        delete manager;
        return true;
    }));
    Settle();
    EXPECT_TRUE(OpenBoxes().empty());
    EXPECT_TRUE(shown.isNull());
}

TEST(CautionDialog, OpensOverTheMainWindowOrTheScreenWhenThatIsNotShown) {
    const QSize size(300, 120);
    QMainWindow frame;
    frame.setGeometry(100, 100, 400, 300);
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(CCautionDialog::OpeningRect(size, &frame).center(), screen.center());  // hidden
    EXPECT_EQ(CCautionDialog::OpeningRect(size, nullptr).center(), screen.center());
    frame.show();
    EXPECT_EQ(CCautionDialog::OpeningRect(size, &frame).center(), frame.frameGeometry().center());
    frame.showMinimized();
    if (frame.isMinimized()) {
        EXPECT_EQ(CCautionDialog::OpeningRect(size, &frame).center(), screen.center());
    }
}
