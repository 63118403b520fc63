#pragma once
// CPropPageMailPeriodical: the mail settings sheet's periodic page: when the
// report goes out (on ticked weekdays, weekly on one day, or monthly on one
// date) and at what time, with the next report time those choices give,
// refreshed as the operator changes them. The sheet owns it.
#include <array>

#include "mail/MailPeriodicalInfo.h"
#include "platform/Clock.h"
#include "ui/PropPage.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QRadioButton;

class CPropPageMailPeriodical : public CPropPage {
public:
    CPropPageMailPeriodical(const CMailPeriodicalInfo& record, const IClock& clock, QWidget* parent = nullptr);

    const CMailPeriodicalInfo& Record() const { return m_record; }
    bool OnApply() override;

    // The schedule the controls show now.
    CMailPeriodicalInfo FromControls() const;

    QLabel* NextTimeLabel() const { return m_nextTime; }
    QRadioButton* KindButton(int kind) const { return m_kinds[static_cast<size_t>(kind)]; }
    QCheckBox* WeekdayBox(int day) const { return m_weekdays[static_cast<size_t>(day)]; }
    QComboBox* WeeklyDay() const { return m_weeklyDay; }
    QComboBox* MonthlyDay() const { return m_monthlyDay; }
    QComboBox* Hour() const { return m_hour; }
    QComboBox* Minute() const { return m_minute; }

private:
    void BuildControls();
    void ShowRecord();
    void OnKindChosen(int kind);
    void OnChange();
    void UpdateEnabling();
    int CheckedKind() const;

    CMailPeriodicalInfo m_record;
    const IClock& m_clock;
    QLabel* m_nextTime = nullptr;
    QButtonGroup* m_kindGroup = nullptr;
    std::array<QRadioButton*, 3> m_kinds{};
    std::array<QCheckBox*, 7> m_weekdays{};
    QComboBox* m_weeklyDay = nullptr;
    QComboBox* m_monthlyDay = nullptr;
    QComboBox* m_hour = nullptr;
    QComboBox* m_minute = nullptr;
    int m_shownKind = PERIODICAL_KIND_WEEKDAYS;
};
