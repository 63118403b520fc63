#include "ui/PropPageMailPeriodical.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>

#include "mail/MailText.h"
#include "platform/ResourceText.h"
#include "ui/UiDefs.h"

namespace {

QString Text(int id) { return QString::fromStdString(ResourceText(id)); }

QComboBox* NamedCombo(const QString& name, QWidget* parent) {
    auto* combo = new QComboBox(parent);
    combo->setAccessibleName(name);
    return combo;
}

// A stored value outside the list shows the list's first entry.
int InRange(int value, int first, int last) { return value >= first && value <= last ? value : first; }

}  // namespace

CPropPageMailPeriodical::CPropPageMailPeriodical(const CMailPeriodicalInfo& record, const IClock& clock,
                                                 QWidget* parent)
    : CPropPage(Text(IDS_MAIL_PAGE_PERIODICAL), parent), m_record(record), m_clock(clock) {
    BuildControls();
    ShowRecord();
    connect(m_kindGroup, &QButtonGroup::idClicked, this, [this](int kind) { OnKindChosen(kind); });
    for (QCheckBox* day : m_weekdays)
        connect(day, &QCheckBox::clicked, this, [this] { OnChange(); });
    for (QComboBox* combo : {m_weeklyDay, m_monthlyDay, m_hour, m_minute})
        connect(combo, &QComboBox::activated, this, [this] { OnChange(); });
}

void CPropPageMailPeriodical::BuildControls() {
    auto* grid = new QGridLayout(this);
    auto* nextLabel = new QLabel(Text(IDS_MAIL_NEXT_TIME), this);
    m_nextTime = new QLabel(this);
    m_nextTime->setObjectName(QStringLiteral("nextMailTime"));
    grid->addWidget(nextLabel, 0, 0);
    grid->addWidget(m_nextTime, 0, 1, 1, 2);

    m_kindGroup = new QButtonGroup(this);
    const int kindTexts[] = {IDS_MAIL_KIND_WEEKDAYS, IDS_MAIL_KIND_WEEKLY, IDS_MAIL_KIND_MONTHLY};
    for (int kind = 0; kind < 3; ++kind) {
        auto* button = new QRadioButton(Text(kindTexts[kind]), this);
        button->setAccessibleName(button->text());
        m_kindGroup->addButton(button, kind);
        m_kinds[static_cast<size_t>(kind)] = button;
        grid->addWidget(button, kind + 1, 0, Qt::AlignTop);
    }
    auto* days = new QHBoxLayout;
    m_weeklyDay = NamedCombo(m_kinds[1]->text(), this);
    for (int day = 0; day < 7; ++day) {
        const QString name = Text(IDS_WEEKDAY_FIRST + day);
        m_weekdays[static_cast<size_t>(day)] = new QCheckBox(name, this);
        m_weekdays[static_cast<size_t>(day)]->setAccessibleName(name);
        days->addWidget(m_weekdays[static_cast<size_t>(day)]);
        m_weeklyDay->addItem(name);
    }
    grid->addLayout(days, 1, 1, 1, 2);
    grid->addWidget(m_weeklyDay, 2, 1);
    m_monthlyDay = NamedCombo(m_kinds[2]->text(), this);
    for (int day = 1; day <= 31; ++day)
        m_monthlyDay->addItem(QString::fromStdString(FormatResourceText(IDS_MAIL_MONTH_DAY, {std::to_string(day)})));
    grid->addWidget(m_monthlyDay, 3, 1);

    auto* time = new QHBoxLayout;
    m_hour = NamedCombo(Text(IDS_MAIL_TIME).remove(QChar(0xFF1A)), this);
    m_minute = NamedCombo(Text(IDS_MAIL_MINUTE), this);
    for (int hour = 0; hour < 24; ++hour)
        m_hour->addItem(QStringLiteral("%1").arg(hour, 2, 10, QLatin1Char('0')));
    for (int minute = 0; minute < 60; ++minute)
        m_minute->addItem(QStringLiteral("%1").arg(minute, 2, 10, QLatin1Char('0')));
    time->addWidget(new QLabel(Text(IDS_MAIL_TIME), this));
    time->addWidget(m_hour);
    time->addWidget(new QLabel(Text(IDS_MAIL_TIME_SEPARATOR), this));
    time->addWidget(m_minute);
    time->addStretch(1);
    grid->addLayout(time, 4, 0, 1, 3);
    grid->setColumnStretch(2, 1);
    grid->setRowStretch(5, 1);
}

void CPropPageMailPeriodical::ShowRecord() {
    m_shownKind = InRange(m_record.kind, PERIODICAL_KIND_WEEKDAYS, PERIODICAL_KIND_MONTHLY);
    m_kinds[static_cast<size_t>(m_shownKind)]->setChecked(true);
    for (size_t day = 0; day < m_weekdays.size(); ++day)
        m_weekdays[day]->setChecked(m_record.weekdays[day] != 0);
    m_weeklyDay->setCurrentIndex(InRange(m_record.weeklyDay, 0, 6));
    m_monthlyDay->setCurrentIndex(InRange(m_record.monthlyDay, 1, 31) - 1);
    m_hour->setCurrentIndex(InRange(m_record.hour, 0, 23));
    m_minute->setCurrentIndex(InRange(m_record.minute, 0, 59));
    UpdateEnabling();
    OnChange();
    SetModified(false);
}

int CPropPageMailPeriodical::CheckedKind() const {
    const int kind = m_kindGroup->checkedId();
    return kind < 0 ? PERIODICAL_KIND_WEEKDAYS : kind;
}

CMailPeriodicalInfo CPropPageMailPeriodical::FromControls() const {
    CMailPeriodicalInfo shown = m_record;
    shown.kind = CheckedKind();
    for (size_t day = 0; day < m_weekdays.size(); ++day)
        shown.weekdays[day] = m_weekdays[day]->isChecked() ? 1 : 0;
    shown.weeklyDay = m_weeklyDay->currentIndex();
    shown.monthlyDay = m_monthlyDay->currentIndex() + 1;
    shown.hour = m_hour->currentIndex();
    shown.minute = m_minute->currentIndex();
    return shown;
}

void CPropPageMailPeriodical::OnKindChosen(int kind) {
    if (kind == m_shownKind)
        return;
    m_shownKind = kind;
    UpdateEnabling();
    OnChange();
}

void CPropPageMailPeriodical::OnChange() {
    const CDateTime next = FromControls().NextTime(m_clock.Now());
    m_nextTime->setText(QString::fromStdString(CMailPeriodicalInfo::NextTimeText(next)));
    m_nextTime->setAccessibleName(m_nextTime->text());
    SetModified();
}

void CPropPageMailPeriodical::UpdateEnabling() {
    const int kind = CheckedKind();
    for (QCheckBox* day : m_weekdays)
        day->setEnabled(kind == PERIODICAL_KIND_WEEKDAYS);
    m_weeklyDay->setEnabled(kind == PERIODICAL_KIND_WEEKLY);
    m_monthlyDay->setEnabled(kind == PERIODICAL_KIND_MONTHLY);
}

bool CPropPageMailPeriodical::OnApply() {
    m_record = FromControls();
    return true;
}
