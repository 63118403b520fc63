#include "ui/PropPageSettingGeneral.h"

#include <algorithm>

#include <QButtonGroup>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "platform/ResourceText.h"
#include "settings/GeneralSetInfo.h"
#include "settings/Value.h"
#include "ui/IntervalFrame.h"
#include "ui/MessageBoxes.h"
#include "ui/SettingDialogTexts.h"
#include "ui/UiDefs.h"
#include "ui/UiFont.h"
#include "ui/UiText.h"

namespace {
constexpr int kTickSeconds = 3;
}  // namespace

CPropPageSettingGeneral::CPropPageSettingGeneral(CGeneralSetInfo& info, QWidget* parent)
    : CPropPage(UiText(IDS_GENERAL_PAGE), parent),
      m_info(info),
      m_interval(new CIntervalFrame(UiText(IDS_GENERAL_UPDATE_FRAME), UiText(IDS_GENERAL_AUTO_UPDATE),
                                    UiText(IDS_GENERAL_UPDATE_SECONDS), this)),
      m_path(new QLineEdit(this)),
      m_browse(new QPushButton(UiText(IDS_GENERAL_BROWSE), this)),
      m_allAtOnce(new QRadioButton(UiText(IDS_GENERAL_ALL_AT_ONCE), this)),
      m_oneByOne(new QRadioButton(UiText(IDS_GENERAL_ONE_BY_ONE), this)),
      m_spacing(new QComboBox(this)) {
    QFont font;
    if (MakeUiFont(font))
        setFont(font);
    CValue value;
    const int stored = value.GetAutoUpdateSecondMinimum();
    if (stored <= 0)
        value.SetAutoUpdateSecondMinimum(1);
    m_interval->SetRange(UpdateMinimum(stored), UPDATE_SECONDS_MAX, kTickSeconds);
    BuildLayout();
    ShowValues();
    Connect();
}

int CPropPageSettingGeneral::UpdateMinimum(int stored) { return std::clamp(stored, 1, UPDATE_SECONDS_MAX); }

bool CPropPageSettingGeneral::IsUsableBrowserPath(const QString& path) {
    return !path.isEmpty() && QFileInfo::exists(path);
}

void CPropPageSettingGeneral::BuildLayout() {
    for (int seconds = 1; seconds <= POWER_ON_SPACING_MAX; ++seconds)
        m_spacing->addItem(QString::number(seconds));
    m_spacing->setAccessibleName(PlainLabel(UiText(IDS_GENERAL_SPACING)));
    m_path->setAccessibleName(PlainLabel(UiText(IDS_GENERAL_PATH)));
    m_browse->setAccessibleName(PlainLabel(UiText(IDS_GENERAL_BROWSE)));
    auto* modes = new QButtonGroup(this);
    modes->addButton(m_allAtOnce);
    modes->addButton(m_oneByOne);

    auto* browser = new QGroupBox(UiText(IDS_GENERAL_BROWSER_FRAME), this);
    auto* pathLabel = new QLabel(UiText(IDS_GENERAL_PATH), this);
    pathLabel->setBuddy(m_path);
    auto* browserLayout = new QHBoxLayout(browser);
    browserLayout->addWidget(pathLabel);
    browserLayout->addWidget(m_path, 1);
    browserLayout->addWidget(m_browse);

    auto* power = new QGroupBox(UiText(IDS_GENERAL_POWER_FRAME), this);
    auto* spacingRow = new QHBoxLayout;
    spacingRow->addWidget(m_oneByOne);
    spacingRow->addWidget(m_spacing);
    auto* secondsLabel = new QLabel(UiText(IDS_GENERAL_SECONDS_APART), this);
    secondsLabel->setBuddy(m_spacing);  // a list names itself by its entry: the label says what it is
    spacingRow->addWidget(secondsLabel);
    spacingRow->addStretch(1);
    auto* powerLayout = new QVBoxLayout(power);
    powerLayout->addWidget(m_allAtOnce);
    powerLayout->addLayout(spacingRow);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_interval);
    layout->addWidget(browser);
    layout->addWidget(power);
    layout->addStretch(1);
}

void CPropPageSettingGeneral::ShowValues() {
    m_interval->ShowSetting(m_info.autoUpdateFlag != 0, m_info.autoUpdateInterval);
    m_path->setText(QString::fromStdString(m_info.browserPath));
    (m_info.powerOnMoving == 0 ? m_allAtOnce : m_oneByOne)->setChecked(true);
    // A stored spacing outside the list shows its nearest entry rather than
    // none, which would store 0 seconds.
    m_spacing->setCurrentIndex(std::clamp(m_info.nextPowerOnTime, 1, POWER_ON_SPACING_MAX) - 1);
    UpdateSpacingEnabled();
}

void CPropPageSettingGeneral::Connect() {
    connect(m_interval, &CIntervalFrame::Changed, this, [this] { SetModified(); });
    connect(m_path, &QLineEdit::textChanged, this, [this] { SetModified(); });
    connect(m_spacing, &QComboBox::currentIndexChanged, this, [this] { SetModified(); });
    for (QRadioButton* mode : {m_allAtOnce, m_oneByOne})
        connect(mode, &QRadioButton::clicked, this, [this] {
            UpdateSpacingEnabled();
            SetModified();
        });
    connect(m_browse, &QPushButton::clicked, this, &CPropPageSettingGeneral::Browse);
}

void CPropPageSettingGeneral::UpdateSpacingEnabled() { m_spacing->setEnabled(!m_allAtOnce->isChecked()); }

void CPropPageSettingGeneral::Browse() {
    const QString chosen = QFileDialog::getOpenFileName(this, PlainLabel(UiText(IDS_GENERAL_BROWSER_FRAME)),
                                                        m_path->text());
    if (!chosen.isEmpty())
        m_path->setText(chosen);
}

bool CPropPageSettingGeneral::OnApply() {
    if (!IsUsableBrowserPath(m_path->text())) {
        ShowStopMessage(this, ResourceText(IDS_INVALID_INPUT));
        return false;
    }
    m_info.browserPath = m_path->text().toStdString();
    m_info.autoUpdateFlag = m_interval->IsOn() ? 1 : 0;
    m_info.autoUpdateInterval = m_interval->Value();
    m_info.powerOnMoving = m_allAtOnce->isChecked() ? 0 : 1;
    m_info.nextPowerOnTime = m_spacing->currentIndex() + 1;
    return true;
}
