#pragma once
// CPropSheetSetting: the Settings sheet (caption text 10004): the
// communication page, then the general page, over the sheet's own copies of
// the two settings records. Applied() means both pages took their entries
// into the copies; the owner (the main view) then takes them over, saves and
// applies them. Whoever runs the sheet owns it.
#include "settings/CommSetInfo.h"
#include "settings/GeneralSetInfo.h"
#include "ui/PropSheet.h"

class CPropPageSettingComm;
class CPropPageSettingGeneral;

class CPropSheetSetting : public CPropSheet {
    Q_OBJECT
public:
    CPropSheetSetting(const CCommSetInfo& comm, const CGeneralSetInfo& general, QWidget* parent = nullptr);

    const CCommSetInfo& Comm() const { return m_comm; }
    const CGeneralSetInfo& General() const { return m_general; }
    CPropPageSettingComm* CommPage() const { return m_commPage; }
    CPropPageSettingGeneral* GeneralPage() const { return m_generalPage; }

private:
    CCommSetInfo m_comm;
    CGeneralSetInfo m_general;
    CPropPageSettingComm* m_commPage;
    CPropPageSettingGeneral* m_generalPage;
};
