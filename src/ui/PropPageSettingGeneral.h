#pragma once
// CPropPageSettingGeneral: the settings sheet's general page: automatic list
// update with its period (from "AutoUpdateSecondMinimum" to 180 seconds),
// the browser program with Browse, and whether a group powers on all at once
// or one projector after another 1..10 seconds apart. It edits the sheet's
// copy of the general settings, which it writes only when the browser path
// names something that exists. Owned by the settings sheet.
#include "ui/PropPage.h"

class CGeneralSetInfo;
class CIntervalFrame;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

constexpr int UPDATE_SECONDS_MAX = 180;
constexpr int POWER_ON_SPACING_MAX = 10;

class CPropPageSettingGeneral : public CPropPage {
    Q_OBJECT
public:
    // Reads "AutoUpdateSecondMinimum" and writes it back raised to 1 when it
    // is 0 or less.
    CPropPageSettingGeneral(CGeneralSetInfo& info, QWidget* parent = nullptr);

    // A path that is empty or names nothing is refused (message 10101).
    bool OnApply() override;

    // The lowest update period the slider offers for a stored minimum.
    static int UpdateMinimum(int stored);
    static bool IsUsableBrowserPath(const QString& path);

    CIntervalFrame* UpdateInterval() const { return m_interval; }
    QLineEdit* PathField() const { return m_path; }
    QPushButton* BrowseButton() const { return m_browse; }
    QRadioButton* AllAtOnceButton() const { return m_allAtOnce; }
    QRadioButton* OneByOneButton() const { return m_oneByOne; }
    QComboBox* SpacingList() const { return m_spacing; }

private:
    void BuildLayout();
    void ShowValues();
    void Connect();
    void Browse();
    void UpdateSpacingEnabled();

    CGeneralSetInfo& m_info;
    CIntervalFrame* m_interval;
    QLineEdit* m_path;
    QPushButton* m_browse;
    QRadioButton* m_allAtOnce;
    QRadioButton* m_oneByOne;
    QComboBox* m_spacing;
};
