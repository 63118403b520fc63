#pragma once
// CPropPageSettingComm: the settings sheet's communication page: automatic
// projector search with its period (1..60 minutes), the search port and the
// range of local data ports the sessions connect from. It edits the sheet's
// copy of the communication settings, which it writes only when its entries
// pass their checks. Owned by the settings sheet.
#include <optional>

#include "ui/PropPage.h"

class CCommSetInfo;
class CIntervalFrame;
class QLineEdit;

class CPropPageSettingComm : public CPropPage {
    Q_OBJECT
public:
    CPropPageSettingComm(CCommSetInfo& info, QWidget* parent = nullptr);

    // Ports refused (message 10101): the page stays as typed.
    bool OnApply() override;

    // The three port fields as entered; 0 for an empty field. The two data
    // ports are both empty or both 1025..65535 (in either order), the search
    // port empty or 1025..65535; anything else is refused (nullopt).
    struct Ports {
        int search = 0;
        int dataFrom = 0;
        int dataTo = 0;
    };
    static std::optional<Ports> ReadPorts(const QString& search, const QString& dataFrom, const QString& dataTo);

    CIntervalFrame* SearchInterval() const { return m_interval; }
    QLineEdit* SearchPortField() const { return m_searchPort; }
    QLineEdit* DataPortFromField() const { return m_dataFrom; }
    QLineEdit* DataPortToField() const { return m_dataTo; }

private:
    void BuildLayout();
    void ShowValues();
    QLineEdit* MakePortField(int accessibleTextId);

    CCommSetInfo& m_info;
    CIntervalFrame* m_interval;
    QLineEdit* m_searchPort;
    QLineEdit* m_dataFrom;
    QLineEdit* m_dataTo;
};
