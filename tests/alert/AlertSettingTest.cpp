// The alert settings dialog: it shows the settings it was given, the path
// and Browse follow the logging tick, OK refuses a log it cannot write and
// keeps everything as typed otherwise, Browse suggests the documents
// folder's "logfile.txt", and the count of lost log lines is on show.
#include "alert/AlertSetting.h"

#include <sys/stat.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "alert/AlertDefs.h"
#include "platform/ResourceText.h"

namespace {

class AlertSettingTest : public ::testing::Test {
protected:
    AlertSettingTest() {
        settings.alertStatus = {1, 0, 1, 0, 1, 1};
        settings.errorLoging = 0;
        settings.errorLogFile = "";
    }
    std::unique_ptr<CAlertSetting> Open(int lost = 0) {
        auto dialog = std::make_unique<CAlertSetting>(settings, lost);
        dialog->SetMessageSink([this](const QString& text) { messages.push_back(text); });
        dialog->show();
        return dialog;
    }

    QTemporaryDir dir;
    CAlertSetInfo settings;
    std::vector<QString> messages;
};

}  // namespace

TEST_F(AlertSettingTest, ShowsTheSettingsAndEnablesPathAndBrowseWithTheLoggingTick) {
    settings.errorLogFile = "/var/log/x.log";
    auto dialog = Open(3);
    for (int kind = 0; kind < ERROR_KIND_COUNT; ++kind)
        EXPECT_EQ(dialog->KindBox(kind)->isChecked(), settings.alertStatus[size_t(kind)] != 0) << kind;
    EXPECT_EQ(dialog->PathEdit()->text(), "/var/log/x.log");
    EXPECT_FALSE(dialog->PathEdit()->isEnabled());
    EXPECT_FALSE(dialog->BrowseButton()->isEnabled());
    dialog->LoggingBox()->click();
    EXPECT_TRUE(dialog->PathEdit()->isEnabled());
    EXPECT_TRUE(dialog->BrowseButton()->isEnabled());
    dialog->LoggingBox()->click();
    EXPECT_FALSE(dialog->PathEdit()->isEnabled());
    EXPECT_NE(dialog->LostLinesLabel()->text().indexOf("3"), -1) << dialog->LostLinesLabel()->text().toStdString();
    // The frame surrounds the log controls and runs through the tick box.
    const QRect frame = dialog->LogFrameRect();
    EXPECT_TRUE(frame.contains(dialog->PathEdit()->geometry()));
    EXPECT_TRUE(frame.contains(dialog->BrowseButton()->geometry()));
    EXPECT_EQ(frame.top(), dialog->LoggingBox()->geometry().center().y());
    // Every control can be found by its name.
    for (QWidget* control : dialog->findChildren<QWidget*>()) {
        if (qobject_cast<QAbstractButton*>(control) || qobject_cast<QLineEdit*>(control)) {
            EXPECT_FALSE(control->accessibleName().isEmpty()) << control->metaObject()->className();
        }
    }
    EXPECT_EQ(dialog->windowTitle().toStdString(), ResourceText(IDS_ALERT_SETTING_CAPTION));
}

TEST_F(AlertSettingTest, OkRefusesALogThatCannotBeWrittenAndKeepsTheEntries) {
    auto dialog = Open();
    dialog->LoggingBox()->click();
    dialog->KindBox(1)->click();
    dialog->accept();  // logging on, no path
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].toStdString(), ResourceText(IDS_ALERT_INVALID_INPUT));
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    const QString missingFolder = dir.path() + "/missing/Error.Log";
    dialog->PathEdit()->setText(missingFolder);
    dialog->accept();
    EXPECT_EQ(messages.size(), 2u);
    EXPECT_EQ(dialog->PathEdit()->text(), missingFolder);
    EXPECT_TRUE(dialog->KindBox(1)->isChecked());
    EXPECT_EQ(dialog->Settings().errorLoging, 0);  // nothing taken yet

    const QString good = dir.path() + "/Error.Log";
    dialog->PathEdit()->setText(good);
    dialog->accept();
    EXPECT_EQ(messages.size(), 2u);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_TRUE(QFileInfo::exists(good));  // made, empty, by the check
    EXPECT_EQ(dialog->Settings().errorLoging, 1);
    EXPECT_EQ(dialog->Settings().errorLogFile, good.toStdString());
    EXPECT_EQ(dialog->Settings().alertStatus, (std::array<int, ERROR_KIND_COUNT>{1, 1, 1, 0, 1, 1}));
}

TEST_F(AlertSettingTest, WithLoggingOffAnyPathIsTakenAsTyped) {
    for (const QString& typed : {QString(), QStringLiteral("/nowhere/at/all.log")}) {
        auto dialog = Open();
        dialog->PathEdit()->setText(typed);
        dialog->accept();
        EXPECT_EQ(dialog->result(), QDialog::Accepted);
        EXPECT_EQ(dialog->Settings().errorLogFile, typed.toStdString());
        EXPECT_EQ(dialog->Settings().errorLoging, 0);
    }
    EXPECT_TRUE(messages.empty());
}

TEST_F(AlertSettingTest, BrowseStartsAtTheTypedPathOrTheDocumentsFoldersLogfile) {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    EXPECT_EQ(CAlertSetting::BrowseStartName(QString()), documents + "/logfile.txt");
    EXPECT_EQ(CAlertSetting::BrowseStartName("/srv/a.log"), "/srv/a.log");
    settings.errorLoging = 1;
    settings.errorLogFile = "/srv/a.log";
    auto dialog = Open();
    QString offered;
    QString answer;
    dialog->SetFileChooser([&](const QString& start) {
        offered = start;
        return answer;
    });
    dialog->Browse();  // cancelled: nothing changes
    EXPECT_EQ(offered, "/srv/a.log");
    EXPECT_EQ(dialog->PathEdit()->text(), "/srv/a.log");
    answer = dir.path() + "/chosen.log";
    dialog->PathEdit()->clear();
    dialog->BrowseButton()->click();
    EXPECT_EQ(offered, documents + "/logfile.txt");
    EXPECT_EQ(dialog->PathEdit()->text(), answer);
}
