// The view's projector commands (properties, add, delete, password) with
// their enable rules and dialogs, the deletion of a projector, and the
// password dialog a board's session asks for through the engine.

#include "app/AppDefs.h"
#include "app/LumivexView.h"
#include "comm/CommDefs.h"
#include "comm/CommWnd.h"
#include "comm/ValueProjectorInfo.h"
#include "ui/ItemListArea.h"
#include "ui/MessageBoxes.h"
#include "ui/PasswordDialog.h"
#include "ui/ProjectorAddDialog.h"
#include "ui/PropertyDialog.h"
#include "ui/UiText.h"

CProjectorInfo* CLumivexView::SelectedRecord() const { return m_list ? m_list->SelectedRecord() : nullptr; }

bool CLumivexView::IsProjectorCommandEnabled(int id) const {
    const CProjectorInfo* record = SelectedRecord();
    switch (id) {
    case ID_PROJECTOR_PROPERTIES:
        return record != nullptr;
    case ID_PROJECTOR_PASSWORD:
        return record && m_engine;
    case ID_PROJECTOR_ADD:
        return m_engine && SelectedTabIndex() == 0;
    case ID_PROJECTOR_DELETE:
        // Only a projector that does not answer, and only where the list
        // shows every projector.
        return m_engine && SelectedTabIndex() == 0 && record &&
               (record->status == STATUS_COMM_ERROR || record->status == STATUS_CONNECTION_ERROR);
    default:
        return false;
    }
}

void CLumivexView::OnProjectorCommand(int id) {
    switch (id) {
    case ID_PROJECTOR_PROPERTIES: ShowProperties(); break;
    case ID_PROJECTOR_ADD: AddProjectorFromDialog(); break;
    case ID_PROJECTOR_DELETE: DeleteSelectedProjector(); break;
    case ID_PROJECTOR_PASSWORD: ChangePassword(); break;
    default: break;
    }
}

void CLumivexView::ShowProperties() {
    const CProjectorInfo* record = SelectedRecord();
    if (!record)
        return;
    CPropertyDialog dialog(*record, this);
    dialog.exec();
}

void CLumivexView::AddProjectorFromDialog() {
    CProjectorAddDialog dialog(this);
    if (dialog.exec() != QDialog::Accepted || m_shutDown)
        return;
    AddProjectorByAddress(dialog.Address());
}

bool CLumivexView::ConfirmDeletion(int questionId) {
    // The box's own event loop may see the console close.
    return ConfirmDelete(this, questionId) && !m_shutDown;
}

void CLumivexView::DeleteSelectedProjector() {
    CProjectorInfo* record = SelectedRecord();
    if (!ConfirmDeletion(IDS_DELETE_PROJECTOR))
        return;
    // The engine's messages went on while the question was open: the
    // projector may answer again by now, and the rule holds only for what
    // it holds now.
    if (SelectedRecord() != record || !IsCommandEnabled(ID_PROJECTOR_DELETE))
        return;
    DeleteProjector(record);
}

int CLumivexView::DeleteProjector(CProjectorInfo* record) {
    if (!IsLiveRecord(record))
        return -1;
    // The session goes before the record: its worker writes into it. The
    // All group, which deletes the record, comes last.
    if (m_engine)
        m_engine->RemoveProjector(record);
    m_liveRecords.erase(record);
    for (auto group = m_groups.rbegin(); group != m_groups.rend(); ++group)
        (*group)->Remove(record);
    if (m_list)
        m_list->Refill();
    SaveGroupList();
    UpdateControllerTarget();
    return 0;
}

void CLumivexView::ChangePassword() {
    CProjectorInfo* record = SelectedRecord();
    if (!record || !m_engine)
        return;
    // The operator's own login is always saved: the tick shows it and
    // cannot be changed.
    CPasswordDialog dialog(record, std::string(), false, this);
    if (dialog.exec() != QDialog::Accepted || m_shutDown || !IsLiveRecord(record))
        return;
    m_engine->SetCredentials(record, dialog.UserName(), dialog.Password(), dialog.Remember());
    m_engine->RecordChanged(record);
    SaveGroupList();
}

bool CLumivexView::IsPendingPasswordRequest(const CProjectorInfo* record, LPARAM request) const {
    // The session that asked may be gone (its projector deleted), and its
    // address may even belong to another session by now.
    if (m_shutDown || !m_engine || !request || !IsLiveRecord(record))
        return false;
    const CValueProjectorInfo* asking = m_engine->PasswordSession();
    return asking == reinterpret_cast<const CValueProjectorInfo*>(request) && m_engine->FindSession(record) == asking;
}

void CLumivexView::OnPasswordRequest(WPARAM wParam, LPARAM request) {
    auto* record = reinterpret_cast<CProjectorInfo*>(wParam);
    int result = PASSWORD_ANSWER_CANCEL;
    if (IsPendingPasswordRequest(record, request)) {
        CPasswordDialog dialog(record, m_engine->FindSession(record)->HostName(), true, this);
        if (dialog.exec() == QDialog::Accepted && IsPendingPasswordRequest(record, request)) {
            m_engine->SetCredentials(record, dialog.UserName(), dialog.Password(), dialog.Remember());
            SaveGroupList();
            result = PASSWORD_ANSWER_OK;
        }
    }
    // Always answered: the engine asks for the next password only after
    // this one. An answer for a request it no longer holds is ignored there.
    if (m_engine)
        m_engine->PostMessage(WM_COMM_PASSWORD_ANSWER, static_cast<WPARAM>(request), result);
}
