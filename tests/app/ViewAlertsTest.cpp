// What the operator learns of projector errors through the view: the error
// mail, the caution box and the log line, each by its own switches, told as
// the engine announced the error even when a later result came first; and
// the alert and mail settings commands, which save at once.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include "ConsoleTestSupport.h"
#include "alert/AlertDefs.h"
#include "alert/AlertManagerWnd.h"
#include "alert/AlertSetting.h"
#include "alert/AlertTestSupport.h"
#include "alert/ErrorLog.h"
#include "comm/EngineTestSupport.h"
#include "mail/MailDefs.h"
#include "mail/MailSetInfo.h"
#include "mail/MailWnd.h"
#include "mail/SmtpTestSupport.h"
#include "platform/Clock.h"
#include "platform/ResourceText.h"
#include "settings/AlertSetInfo.h"
#include "support/LoopbackFleet.h"
#include "ui/PropPageMailOriginator.h"
#include "ui/PropPageMailPeriodical.h"
#include "ui/PropSheetMail.h"
#include "ui/UiDefs.h"

namespace {

// Runs open (a command whose dialog runs modally) and hands the dialog to act
// from a timer inside the dialog's loop; a dialog still open at the deadline
// is closed. False when no such dialog came.
template <class Dialog>
bool WithModal(const std::function<void()>& open, const std::function<void(Dialog*)>& act, int ms = 10000) {
    bool acted = false;
    QElapsedTimer elapsed;
    elapsed.start();
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* dialog = dynamic_cast<Dialog*>(modal); dialog && !acted) {
            acted = true;
            act(dialog);
        } else if (modal && elapsed.elapsed() > ms) {
            static_cast<QDialog*>(modal)->reject();
        }
    });
    timer.start(10);
    open();
    return acted;
}

class ViewAlertsTest : public ConsoleTest {
protected:
    void SetUp() override {
        ConsoleTest::SetUp();
        m_logPath = m_dir.path().toStdString() + "/Error.Log";
        CAlertSetInfo alerts;  // every alert switch on
        alerts.errorLoging = 1;
        alerts.errorLogFile = m_logPath;
        ASSERT_EQ(alerts.Save(), 0);
    }
    // Error mail for fan errors to one recipient; another gets reports only.
    static void StoreMailSettings(const std::string& server) {
        CMailSetInfo mail;
        mail.originator.server = server;
        mail.originator.senderAddress = "console@example.com";
        mail.error.flags[ERROR_KIND_FAN] = 1;
        mail.recipients.entries[0].address = "errors@example.com";
        mail.recipients.entries[0].errorMail = 1;
        mail.recipients.entries[2].address = "reports@example.com";
        mail.recipients.entries[2].periodicReport = 1;
        ASSERT_EQ(mail.Save(), 0);
    }
    std::string LogLine(int messageId, const CProjectorInfo& record) const {
        return CErrorLog::FormatLine(m_clock.Now(), ResourceText(messageId), record.ipAddress);
    }

    CFakeClock m_clock{CDateTime::FromParts(2026, 5, 4, 10, 0, 0)};
    std::string m_logPath;
};

}  // namespace

TEST_F(ViewAlertsTest, ErrorThenRecoveryBothQueuedStillGiveOneBoxOneLineAndOneMailOfTheError) {
    const std::string smtp = TestLoopbackAddress();
    if (std::string why = Port25Unavailable(smtp); !why.empty())
        GTEST_SKIP() << why;
    CCaptureServer server;
    ASSERT_TRUE(server.Start(smtp));
    LoopbackFleet fleet;
    const std::string board = fleet.AddBoard({"projectorName Hall"});
    fleet.Start();
    StoreFleet({board});
    StoreMailSettings(smtp);
    CLumivexView* view = OpenConsole(&m_clock);
    CProjectorInfo* record = view->Groups()[0]->GetAt(0);
    ASSERT_TRUE(WaitFor([&] { return record->status == STATUS_NORMAL; }));

    // Two results reach the engine before the view gets a turn: a fan error,
    // then the recovery, which the record holds by the time the view reads it.
    CValueProjectorInfo* session = view->Engine()->FindSession(record);
    for (int status : {STATUS_FAN, STATUS_NORMAL}) {
        SessionTestAccess::Stage(session, [status](CProjectorInfo& w) { w.status = status; });
        view->Engine()->SendMessage(WM_COMM_RESULT, reinterpret_cast<WPARAM>(session),
                                    static_cast<LPARAM>(session->SetPollRequest(0)));
    }
    ASSERT_EQ(record->status, STATUS_NORMAL);

    int boxes = 0;
    ASSERT_TRUE(RunBoxScript([&] {
        const auto open = OpenBoxes();
        if (open.empty())
            return false;
        boxes += static_cast<int>(open.size());
        EXPECT_EQ(open[0]->MessageText().toStdString(), ResourceText(IDS_ALERT_FAN));
        EXPECT_EQ(open[0]->parentWidget(), m_frame.get());
        ClickOk(open[0]);
        return true;
    }));
    Settle();
    EXPECT_EQ(boxes, 1);
    EXPECT_EQ(FileBytes(m_logPath), LogLine(IDS_ALERT_FAN, *record));

    ASSERT_TRUE(server.WaitForMessages(1, 20000));
    const QJsonObject mail = server.Message(1);
    EXPECT_EQ(mail["rcpt_tos"].toArray().size(), 1);
    EXPECT_EQ(mail["rcpt_tos"].toArray()[0].toString(), "errors@example.com");
    EXPECT_EQ(mail["subject"].toString().toStdString(), ResourceText(TEXT_SUBJECT_ERROR));
    CProjectorInfo fan(*record);
    fan.status = STATUS_FAN;
    const std::string body = mail["parts"].toArray()[0].toObject()["text"].toString().toStdString();
    EXPECT_NE(body.find(fan.StatusText()), std::string::npos) << body;
    // Nothing more follows: the recovery raised nothing.
    EXPECT_FALSE(server.WaitForMessages(2, 1500));
    EXPECT_EQ(view->AlertManager()->Popups().size(), 0u);
}

TEST_F(ViewAlertsTest, SwitchedOffAlertGivesNoBoxButStillTheLineAndTheMail) {
    LoopbackFleet fleet;
    StoreFleet({fleet.AddBoard()});
    fleet.Start();
    StoreMailSettings(TestLoopbackAddress(200));  // nobody answers: the attempt is what counts
    CAlertSetInfo alerts;
    alerts.Load();
    alerts.alertStatus[ERROR_KIND_FAN] = 0;
    ASSERT_EQ(alerts.Save(), 0);
    CLumivexView* view = OpenConsole(&m_clock);
    int attempts = 0;
    view->MailWindow()->SetDoneHandler([&](int) { ++attempts; });
    CProjectorInfo* record = view->Groups()[0]->GetAt(0);
    ASSERT_TRUE(WaitFor([&] { return record->status == STATUS_NORMAL; }));
    view->PostMessage(WM_VIEW_STATUS_ERROR, reinterpret_cast<WPARAM>(record), STATUS_FAN);
    // Neither a status that is no error nor a record that is gone counts.
    view->PostMessage(WM_VIEW_STATUS_ERROR, reinterpret_cast<WPARAM>(record), STATUS_NORMAL);
    CProjectorInfo stranger;
    view->PostMessage(WM_VIEW_STATUS_ERROR, reinterpret_cast<WPARAM>(&stranger), STATUS_FAN);
    Settle();
    EXPECT_TRUE(OpenBoxes().empty());
    EXPECT_EQ(view->AlertManager()->HasAlertFor(STATUS_FAN), 0);
    EXPECT_EQ(FileBytes(m_logPath), LogLine(IDS_ALERT_FAN, *record));
    ASSERT_TRUE(WaitFor([&] { return attempts == 1; }, 20000));
    // A lamp error (its switch on, no mail ticked) raises its box.
    view->PostMessage(WM_VIEW_STATUS_ERROR, reinterpret_cast<WPARAM>(record), STATUS_LAMP_BIT5);
    ASSERT_TRUE(RunBoxScript([&] {
        if (OpenBoxes().size() != 1)
            return false;
        ClickOk(OpenBoxes()[0]);
        return true;
    }));
    EXPECT_EQ(FileBytes(m_logPath), LogLine(IDS_ALERT_FAN, *record) + LogLine(IDS_ALERT_LAMP_FLAG5, *record));
    Settle();
    EXPECT_EQ(attempts, 1);
}

TEST_F(ViewAlertsTest, AlertSettingsCommandSavesAtOnceAndShowsTheLostLines) {
    CAlertSetInfo alerts;
    alerts.errorLoging = 1;
    alerts.errorLogFile = m_dir.path().toStdString() + "/no/such/folder/Error.Log";
    ASSERT_EQ(alerts.Save(), 0);
    LoopbackFleet fleet;
    StoreFleet({fleet.AddBoard()});
    fleet.Start();
    CLumivexView* view = OpenConsole(&m_clock);
    ASSERT_TRUE(WaitFor([&] { return view->Groups()[0]->GetAt(0)->status == STATUS_NORMAL; }));
    view->PostMessage(WM_VIEW_STATUS_ERROR, reinterpret_cast<WPARAM>(view->Groups()[0]->GetAt(0)),
                      STATUS_CONNECTION_ERROR);
    ASSERT_TRUE(RunBoxScript([&] {
        if (OpenBoxes().empty())
            return false;
        ClickOk(OpenBoxes()[0]);
        return true;
    }));
    EXPECT_EQ(view->ErrorLog()->LostLines(), 1);
    ASSERT_TRUE(view->IsCommandEnabled(ID_OPTION_ALERT));
    ASSERT_TRUE(WithModal<CAlertSetting>([&] { m_frame->FireCommand(ID_OPTION_ALERT); }, [&](CAlertSetting* dialog) {
        EXPECT_NE(dialog->LostLinesLabel()->text().indexOf("1"), -1);
        dialog->KindBox(ERROR_KIND_COMM)->click();
        dialog->PathEdit()->setText(QString::fromStdString(m_logPath));
        dialog->accept();
    }));
    EXPECT_EQ(view->AlertSettings()->errorLogFile, m_logPath);
    CAlertSetInfo stored;
    stored.Load();
    EXPECT_EQ(stored.errorLogFile, m_logPath);
    EXPECT_EQ(stored.alertStatus, (std::array<int, ERROR_KIND_COUNT>{1, 1, 1, 1, 0, 1}));
}

TEST_F(ViewAlertsTest, MailSettingsCommandSavesAtOnceAndRestartsTheSchedule) {
    StoreMailSettings("mail.example");
    CLumivexView* view = OpenConsole(&m_clock);
    EXPECT_EQ(view->Notifier().NextReportTime(), CDateTime::Never());
    ASSERT_TRUE(view->IsCommandEnabled(ID_OPTION_MAIL));
    ASSERT_TRUE(WithModal<CPropSheetMail>([&] { m_frame->FireCommand(ID_OPTION_MAIL); }, [&](CPropSheetMail* sheet) {
        sheet->OriginatorPage()->ServerEdit()->setText("smtp.example");
        CPropPageMailPeriodical* schedule = sheet->PeriodicalPage();
        schedule->KindButton(PERIODICAL_KIND_MONTHLY)->click();
        schedule->Hour()->setCurrentIndex(7);
        sheet->accept();
    }));
    EXPECT_EQ(view->MailSettings()->originator.server, "smtp.example");
    CMailSetInfo stored;
    stored.Load();
    EXPECT_EQ(stored.originator.server, "smtp.example");
    EXPECT_EQ(stored.periodical.kind, PERIODICAL_KIND_MONTHLY);
    // Monthly on the 1st at 07:00, now 4 May: 1 June.
    EXPECT_EQ(view->Notifier().NextReportTime(), CDateTime::FromParts(2026, 6, 1, 7, 0, 0));
    // Cancelled, nothing changes.
    ASSERT_TRUE(WithModal<CPropSheetMail>([&] { m_frame->FireCommand(ID_OPTION_MAIL); }, [&](CPropSheetMail* sheet) {
        sheet->OriginatorPage()->ServerEdit()->setText("other.example");
        sheet->reject();
    }));
    EXPECT_EQ(view->MailSettings()->originator.server, "smtp.example");
    // Applied, then cancelled: what was applied stays, stored.
    ASSERT_TRUE(WithModal<CPropSheetMail>([&] { m_frame->FireCommand(ID_OPTION_MAIL); }, [&](CPropSheetMail* sheet) {
        QLineEdit* server = sheet->OriginatorPage()->ServerEdit();
        server->selectAll();
        QTest::keyClicks(server, "applied.example");
        sheet->PeriodicalPage()->Hour()->setCurrentIndex(9);
        EXPECT_TRUE(sheet->ApplyButton()->isEnabled());
        sheet->ApplyButton()->click();
        sheet->OriginatorPage()->ServerEdit()->setText("typed.example");
        sheet->reject();
    }));
    EXPECT_EQ(view->MailSettings()->originator.server, "applied.example");
    stored.Load();
    EXPECT_EQ(stored.originator.server, "applied.example");
    EXPECT_EQ(view->Notifier().NextReportTime(), CDateTime::FromParts(2026, 6, 1, 9, 0, 0));
}
