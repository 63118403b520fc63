// The view's option and layout commands: the settings sheet, whose values
// are saved and handed to the engine as soon as the operator applies them,
// and the column and sort dialogs, whose results are saved at once.
#include <functional>

#include "app/AppDefs.h"
#include "app/LumivexView.h"
#include "comm/CommWnd.h"
#include "mail/MailText.h"
#include "platform/ResourceText.h"
#include "settings/CommSetInfo.h"
#include "settings/GeneralSetInfo.h"
#include "settings/ProfileStore.h"
#include "settings/ViewSortInfo.h"
#include "ui/ColumnDialog.h"
#include "ui/ItemListArea.h"
#include "ui/PropSheetSetting.h"
#include "ui/SortDialog.h"
#include "ui/ViewItemInfoList.h"

void CLumivexView::RunSettingsSheet() {
    CPropSheetSetting sheet(*m_comm, *m_general, this);
    // Apply as well as OK: what the sheet shows as applied is in force.
    connect(&sheet, &CPropSheet::Applied, this, [this, &sheet] { TakeSettings(sheet.Comm(), sheet.General()); });
    sheet.exec();
}

void CLumivexView::TakeSettings(const CCommSetInfo& comm, const CGeneralSetInfo& general) {
    *m_comm = comm;
    *m_general = general;
    if (!m_engine)
        return;
    SaveOptions([this] {
        m_comm->Save();
        m_general->Save();
    });
    ApplyEngineSettings();
}

void CLumivexView::RunColumnDialog() {
    // The dialog starts from the widths and order the header shows now.
    if (m_list)
        m_list->HarvestLayout();
    CColumnDialog dialog(*m_columns, this);
    if (dialog.exec() != QDialog::Accepted || dialog.Result() == *m_columns)
        return;
    m_columns->CopyFrom(dialog.Result());
    SaveOptions([this] { m_columns->Save(); });
    if (m_list)
        m_list->RebuildColumns();
}

void CLumivexView::RunSortDialog() {
    CSortDialog dialog(*m_columns, *m_sort, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    *m_sort = dialog.Result();
    SaveOptions([this] { m_sort->Save(); });
    if (m_list)
        m_list->ApplySort();
}

void CLumivexView::SaveOptions(const std::function<void()>& write) {
    CProfileBatch batch(CurrentProfile());
    write();
    if (!batch.Commit())
        TellOperator(FormatResourceText(IDS_SETTINGS_SAVE_FAILED, {CurrentProfile().Path()}));
}
