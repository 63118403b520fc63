#include "ui/PropPageSettingComm.h"

#include <string>

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "platform/ResourceText.h"
#include "settings/CommSetInfo.h"
#include "settings/TextTools.h"
#include "ui/IntervalFrame.h"
#include "ui/MessageBoxes.h"
#include "ui/SettingDialogTexts.h"
#include "ui/UiDefs.h"
#include "ui/UiFont.h"
#include "ui/UiText.h"

namespace {

constexpr int kMinutesMin = 1;
constexpr int kMinutesMax = 60;
constexpr int kPortMin = 1025;
constexpr int kPortMax = 65535;
constexpr int kPortDigits = 5;

QString PortText(int port) { return port == 0 ? QString() : QString::number(port); }

// 0 for an empty field, the port for 1025..65535, nullopt for anything else.
std::optional<int> ReadPort(const QString& text) {
    const std::string digits = text.trimmed().toStdString();
    if (digits.empty())
        return 0;
    // More digits are out of range whatever they say (and would overflow).
    if (!IsAllDigits(digits) || digits.size() > std::size_t(kPortDigits))
        return std::nullopt;
    const int port = LeadingInt(digits);
    if (port < kPortMin || port > kPortMax)
        return std::nullopt;
    return port;
}

}  // namespace

CPropPageSettingComm::CPropPageSettingComm(CCommSetInfo& info, QWidget* parent)
    : CPropPage(UiText(IDS_COMM_PAGE), parent),
      m_info(info),
      m_interval(new CIntervalFrame(UiText(IDS_COMM_SEARCH_FRAME), UiText(IDS_COMM_AUTO_SEARCH),
                                    UiText(IDS_COMM_SEARCH_MINUTES), this)),
      m_searchPort(MakePortField(IDS_COMM_SEARCH_PORT)),
      m_dataFrom(MakePortField(IDS_COMM_DATA_PORT)),
      m_dataTo(MakePortField(IDS_COMM_DATA_PORT_END)) {
    QFont font;
    if (MakeUiFont(font))
        setFont(font);
    BuildLayout();
    ShowValues();
    connect(m_interval, &CIntervalFrame::Changed, this, [this] { SetModified(); });
    for (QLineEdit* field : {m_searchPort, m_dataFrom, m_dataTo})
        connect(field, &QLineEdit::textEdited, this, [this] { SetModified(); });
}

QLineEdit* CPropPageSettingComm::MakePortField(int accessibleTextId) {
    auto* field = new QLineEdit(this);
    field->setMaxLength(kPortDigits);
    field->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), field));
    field->setAccessibleName(PlainLabel(UiText(accessibleTextId)));
    return field;
}

void CPropPageSettingComm::BuildLayout() {
    m_interval->SetRange(kMinutesMin, kMinutesMax, 1);
    auto* searchLabel = new QLabel(UiText(IDS_COMM_SEARCH_PORT), this);
    searchLabel->setBuddy(m_searchPort);
    auto* dataLabel = new QLabel(UiText(IDS_COMM_DATA_PORT), this);
    dataLabel->setBuddy(m_dataFrom);
    auto* ports = new QGridLayout;
    ports->addWidget(searchLabel, 0, 0);
    ports->addWidget(m_searchPort, 0, 1);
    ports->addWidget(dataLabel, 1, 0);
    ports->addWidget(m_dataFrom, 1, 1);
    ports->addWidget(new QLabel(UiText(IDS_COMM_DATA_PORT_TO), this), 1, 2);
    ports->addWidget(m_dataTo, 1, 3);
    ports->setColumnStretch(4, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_interval);
    layout->addLayout(ports);
    layout->addStretch(1);
}

void CPropPageSettingComm::ShowValues() {
    m_interval->ShowSetting(m_info.autoSearchFlag != 0, m_info.autoSearchInterval);
    m_searchPort->setText(PortText(m_info.projectorSearchPort));
    m_dataFrom->setText(PortText(m_info.clientDataPortStart));
    m_dataTo->setText(PortText(m_info.clientDataPortEnd));
}

std::optional<CPropPageSettingComm::Ports> CPropPageSettingComm::ReadPorts(const QString& search,
                                                                           const QString& dataFrom,
                                                                           const QString& dataTo) {
    const std::optional<int> from = ReadPort(dataFrom);
    const std::optional<int> to = ReadPort(dataTo);
    const std::optional<int> port = ReadPort(search);
    // The data ports go together: both empty, or both given.
    if (!from || !to || !port || ((*from == 0) != (*to == 0)))
        return std::nullopt;
    return Ports{*port, *from, *to};
}

bool CPropPageSettingComm::OnApply() {
    const std::optional<Ports> ports = ReadPorts(m_searchPort->text(), m_dataFrom->text(), m_dataTo->text());
    if (!ports) {
        ShowStopMessage(this, ResourceText(IDS_INVALID_INPUT));
        return false;
    }
    m_info.autoSearchFlag = m_interval->IsOn() ? 1 : 0;
    m_info.autoSearchInterval = m_interval->Value();
    m_info.projectorSearchPort = ports->search;
    m_info.clientDataPortStart = ports->dataFrom;
    m_info.clientDataPortEnd = ports->dataTo;
    return true;
}
