// The projector commands and dialogs: delete (asked first, its rule checked
// when the key fires and again after Yes, the session stopped before the
// record goes), the login a board asks for and the operator's own, adding
// by address and the properties.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QShortcut>
#include <QTableView>

#include "ConsoleTestSupport.h"
#include "OperatorSupport.h"
#include "app/AppDefs.h"
#include "comm/CommDefs.h"
#include "comm/CommWnd.h"
#include "platform/ResourceText.h"
#include "support/LoopbackFleet.h"
#include "support/TestAddress.h"
#include "ui/IPAddressCtrlEx.h"
#include "ui/IPEdit.h"
#include "ui/ItemListArea.h"
#include "ui/MyTabCtrl.h"
#include "ui/PasswordDialog.h"
#include "ui/ProjectorAddDialog.h"
#include "ui/ProjectorListModel.h"
#include "ui/PropertyDialog.h"

namespace {

void FireShortcut(CMainFrame* frame, Qt::Key key) {
    for (QShortcut* shortcut : frame->findChildren<QShortcut*>())
        if (shortcut->key() == QKeySequence(key))
            emit shortcut->activated();
}

void Answer(QWidget* modal, QMessageBox::StandardButton button) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    ASSERT_NE(box, nullptr);
    box->button(button)->click();
}

void LogIn(QWidget* modal, const std::string& user, const std::string& password) {
    auto* dialog = qobject_cast<CPasswordDialog*>(modal);
    ASSERT_NE(dialog, nullptr);
    dialog->UserField()->setText(QString::fromStdString(user));
    dialog->PasswordField()->setText(QString::fromStdString(password));
    dialog->accept();
}

int Logins(LoopbackFleet& fleet, const std::string& address) { return fleet.Stats(address)["logins"].toInt(); }

const char* kLoginBoard[] = {"login true", "user admin", "password secret"};

}  // namespace

using ProjectorCommandsTest = ConsoleTest;

TEST_F(ProjectorCommandsTest, DeleteAsksFirstThenTakesTheProjectorOutOfEngineGroupsAndStore) {
    LoopbackFleet fleet;
    const std::string silent = fleet.AddBoard();
    const std::string other = fleet.AddBoard();
    fleet.Start();
    fleet.Control("fault " + silent + " info yourip");  // refused: a connection error
    StoreFleet({silent, other}, {{"Hall", {0, 1}}});
    CLumivexView* view = OpenConsole();
    ASSERT_TRUE(WaitFor([&] { return RecordOf(view, silent)->status == STATUS_CONNECTION_ERROR; }));
    Select(view, silent);
    std::vector<QMessageBox::StandardButton> answers = {QMessageBox::No, QMessageBox::Yes};
    CModalOperator operatorAnswers([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->windowTitle().toStdString(), ResourceText(IDS_DELETE_CAPTION));
        EXPECT_EQ(box->text().toStdString(), ResourceText(IDS_DELETE_PROJECTOR));
        EXPECT_EQ(box->icon(), QMessageBox::Question);
        EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::No));
        Answer(modal, answers[std::size_t(operatorAnswers.Count() - 1)]);
    });
    FireShortcut(m_frame.get(), Qt::Key_Delete);
    ASSERT_EQ(operatorAnswers.Count(), 1);
    EXPECT_EQ(view->AllProjectors().size(), 2u);

    FireShortcut(m_frame.get(), Qt::Key_Delete);
    ASSERT_EQ(operatorAnswers.Count(), 2);
    EXPECT_EQ(view->AllProjectors().size(), 1u);
    EXPECT_EQ(RecordOf(view, silent), nullptr);
    EXPECT_EQ(view->Groups()[1]->GetCount(), 1);
    EXPECT_EQ(view->Engine()->SessionCount(), 1);
    EXPECT_EQ(view->ListArea()->ListModel()->rowCount(), 1);
    EXPECT_EQ(StoredAddresses(), std::vector<std::string>{other});
}

TEST_F(ProjectorCommandsTest, DeleteRuleIsCheckedWhenTheKeyFiresAndAgainAfterYes) {
    LoopbackFleet fleet;
    const std::string silent = fleet.AddBoard();
    const std::string normal = fleet.AddBoard();
    fleet.Start();
    fleet.Control("fault " + silent + " info yourip");
    StoreFleet({silent, normal}, {{"Hall", {0}}});
    CLumivexView* view = OpenConsole();
    ASSERT_TRUE(WaitFor([&] {
        return RecordOf(view, silent)->status == STATUS_CONNECTION_ERROR &&
               RecordOf(view, normal)->status == STATUS_NORMAL;
    }));
    // While the question is open the board answers again.
    CModalOperator operatorAnswers([&](QWidget* modal) {
        fleet.Control("clear " + silent);
        view->Engine()->RequestUpdateAll(0);
        EXPECT_TRUE(WaitFor([&] { return RecordOf(view, silent)->status == STATUS_NORMAL; }));
        Answer(modal, QMessageBox::Yes);
    });
    Select(view, normal);
    FireShortcut(m_frame.get(), Qt::Key_Delete);
    view->Tabs()->setCurrentIndex(1);
    Select(view, silent);
    FireShortcut(m_frame.get(), Qt::Key_Delete);
    EXPECT_EQ(operatorAnswers.Count(), 0);  // neither one is even asked about

    view->Tabs()->setCurrentIndex(0);
    Select(view, silent);
    FireShortcut(m_frame.get(), Qt::Key_Delete);
    EXPECT_EQ(operatorAnswers.Count(), 1);
    EXPECT_NE(RecordOf(view, silent), nullptr);
    EXPECT_EQ(view->Engine()->SessionCount(), 2);
}

TEST_F(ProjectorCommandsTest, DeletingAProjectorInTheMiddleOfAPollStopsItsSessionFirst) {
    LoopbackFleet fleet;
    const std::string slow = fleet.AddBoard();
    fleet.Start();
    fleet.Control("fault " + slow + " * delay 200");
    StoreFleet({slow});
    CLumivexView* view = OpenConsole();
    CProjectorInfo* record = RecordOf(view, slow);
    ASSERT_TRUE(WaitFor([&] { return record->busy.load() == 1 && fleet.Stats(slow)["commandConnections"].toInt() == 1; }));
    EXPECT_EQ(view->DeleteProjector(record), 0);
    EXPECT_EQ(view->Engine()->SessionCount(), 0);
    EXPECT_TRUE(view->AllProjectors().empty());
    // What the session posted before it stopped names a record that is gone.
    for (unsigned msg : {WM_VIEW_UPDATE, WM_VIEW_CHANGED, WM_VIEW_STATUS_ERROR})
        view->PostMessage(msg, reinterpret_cast<WPARAM>(record));
    Settle();
    EXPECT_EQ(view->DeleteProjector(record), -1);
    EXPECT_TRUE(StoredAddresses().empty());
}

TEST_F(ProjectorCommandsTest, ABoardAskingForALoginGetsTheDialogAndTheLoginIsSavedEncrypted) {
    LoopbackFleet fleet;
    const std::string board = fleet.AddBoard({kLoginBoard[0], kLoginBoard[1], kLoginBoard[2], "hostName PJ-STUDIO"});
    fleet.Start();
    StoreFleet({board});
    CModalOperator operatorAnswers([&](QWidget* modal) {
        auto* dialog = qobject_cast<CPasswordDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->ProjectorText()->text().toStdString().rfind("PJ-STUDIO (" + board + " : ", 0), 0u);
        EXPECT_TRUE(dialog->SaveTick()->isEnabled());
        EXPECT_TRUE(dialog->SaveTick()->isChecked());
        LogIn(modal, "admin", "secret");
    });
    CLumivexView* view = OpenConsole();
    ASSERT_TRUE(WaitFor([&] { return RecordOf(view, board)->status == STATUS_NORMAL; }));
    EXPECT_EQ(operatorAnswers.Count(), 1);
    EXPECT_EQ(Logins(fleet, board), 1);

    CProfileStore store(m_profilePath);
    CProjectorInfo stored;
    ASSERT_EQ(LoadFrom(stored, CValue(store).GetProjector(-1, 0)), 0);
    EXPECT_EQ(stored.userName, "admin");
    EXPECT_EQ(stored.password, "secret");
    EXPECT_EQ(stored.rememberCredentials, 1);
    EXPECT_EQ(FileText().find("secret"), std::string::npos);
}

TEST_F(ProjectorCommandsTest, ARequestWhoseProjectorIsDeletedIsAnsweredAndTheNextOneComes) {
    LoopbackFleet fleet;
    const std::vector<std::string> boards = {fleet.AddBoard({kLoginBoard[0], kLoginBoard[1], kLoginBoard[2]}),
                                             fleet.AddBoard({kLoginBoard[0], kLoginBoard[1], kLoginBoard[2]})};
    fleet.Start();
    StoreFleet(boards);
    CLumivexView* view = nullptr;
    std::string deleted;
    CModalOperator operatorAnswers([&](QWidget* modal) {
        if (deleted.empty()) {
            // The projector goes while its dialog is open; what was typed
            // must not reach anything.
            const std::string line = qobject_cast<CPasswordDialog*>(modal)->ProjectorText()->text().toStdString();
            deleted = line.find(boards[0] + " ") != std::string::npos ? boards[0] : boards[1];
            EXPECT_EQ(view->DeleteProjector(RecordOf(view, deleted)), 0);
        }
        LogIn(modal, "admin", "secret");
    });
    view = OpenConsole();
    ASSERT_TRUE(WaitFor([&] { return operatorAnswers.Count() == 2; }));
    const std::string kept = deleted == boards[0] ? boards[1] : boards[0];
    ASSERT_TRUE(WaitFor([&] { return RecordOf(view, kept)->status == STATUS_NORMAL; }));
    EXPECT_EQ(Logins(fleet, kept), 1);
    EXPECT_EQ(Logins(fleet, deleted), 0);

    // A request naming a record and a session that are gone opens nothing.
    auto gone = std::make_unique<CProjectorInfo>();
    const WPARAM stale = reinterpret_cast<WPARAM>(gone.get());
    gone.reset();
    view->PostMessage(WM_VIEW_PASSWORD, stale, LPARAM(stale));
    Settle();
    EXPECT_EQ(operatorAnswers.Count(), 2);
}

TEST_F(ProjectorCommandsTest, TheOperatorsOwnLoginIsAlwaysSavedAndTheSessionLogsInWithIt) {
    LoopbackFleet fleet;
    const std::string board = fleet.AddBoard({kLoginBoard[0], kLoginBoard[1], kLoginBoard[2]});
    fleet.Start();
    StoreFleet({board});
    CModalOperator operatorAnswers([&](QWidget* modal) {
        auto* dialog = qobject_cast<CPasswordDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        if (operatorAnswers.Count() == 1) {
            dialog->reject();  // the board's own request, cancelled
            return;
        }
        EXPECT_EQ(dialog->ProjectorText()->text().toStdString().rfind(" (" + board + " : ", 0), 0u);
        EXPECT_TRUE(dialog->SaveTick()->isChecked());
        EXPECT_FALSE(dialog->SaveTick()->isEnabled());
        LogIn(modal, "admin", "secret");
    });
    CLumivexView* view = OpenConsole();
    CProjectorInfo* record = RecordOf(view, board);
    ASSERT_TRUE(WaitFor([&] { return record->status == STATUS_CONNECTION_ERROR; }));
    EXPECT_FALSE(m_frame->IsCommandEnabled(ID_PROJECTOR_PASSWORD));  // no row selected
    Select(view, board);
    m_frame->FireCommand(ID_PROJECTOR_PASSWORD);
    EXPECT_EQ(operatorAnswers.Count(), 2);
    EXPECT_EQ(record->rememberCredentials, 1);
    ASSERT_TRUE(WaitFor([&] { return record->status == STATUS_NORMAL; }));
    EXPECT_EQ(Logins(fleet, board), 1);
}

TEST_F(ProjectorCommandsTest, AnAddressIsAddedOnceAndPropertiesShowTheSelectedProjector) {
    const std::string address = TestLoopbackAddress(7);  // no board there
    CLumivexView* view = OpenConsole();
    EXPECT_FALSE(m_frame->IsCommandEnabled(ID_PROJECTOR_PROPERTIES));
    CModalOperator operatorAnswers([&](QWidget* modal) {
        if (auto* add = qobject_cast<CProjectorAddDialog*>(modal)) {
            const QStringList fields = QString::fromStdString(address).split('.');
            for (int i = 0; i < 4; ++i)
                add->AddressCtrl()->Field(i)->setText(fields[i]);
            add->OkButton()->click();
        } else if (auto* properties = qobject_cast<CPropertyDialog*>(modal)) {
            EXPECT_EQ(properties->Value(9)->text().toStdString(), address);
            properties->reject();
        }
    });
    m_frame->FireCommand(ID_PROJECTOR_ADD);
    m_frame->FireCommand(ID_PROJECTOR_ADD);
    EXPECT_EQ(operatorAnswers.Count(), 2);
    EXPECT_EQ(view->AllProjectors().size(), 1u);
    EXPECT_EQ(StoredAddresses(), std::vector<std::string>{address});
    Select(view, address);
    m_frame->FireCommand(ID_PROJECTOR_PROPERTIES);
    EXPECT_EQ(operatorAnswers.Count(), 3);
}
