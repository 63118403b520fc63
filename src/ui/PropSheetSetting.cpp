#include "ui/PropSheetSetting.h"

#include "ui/PropPageSettingComm.h"
#include "ui/PropPageSettingGeneral.h"
#include "ui/UiDefs.h"
#include "ui/UiText.h"

CPropSheetSetting::CPropSheetSetting(const CCommSetInfo& comm, const CGeneralSetInfo& general, QWidget* parent)
    : CPropSheet(UiText(IDS_SETTINGS_SHEET), parent),
      m_comm(comm),
      m_general(general),
      m_commPage(new CPropPageSettingComm(m_comm)),
      m_generalPage(new CPropPageSettingGeneral(m_general)) {
    AddPage(m_commPage);
    AddPage(m_generalPage);
}
