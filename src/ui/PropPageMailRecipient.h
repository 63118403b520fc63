#pragma once
// CPropPageMailRecipient: the mail settings sheet's recipient page: five
// addresses, each with a tick for error mail and one for the periodic
// report, and a "send now" button that asks for a report to that address at
// once (through the sheet, which adds the originator, to the view). The
// sheet owns it.
#include <array>

#include "mail/MailRecipientInfo.h"
#include "platform/Clock.h"
#include "ui/PropPage.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

class CPropPageMailRecipient : public CPropPage {
public:
    // sheet: where the send-now request goes.
    CPropPageMailRecipient(const CMailRecipientInfo& record, QObject* sheet, const IClock& clock,
                           QWidget* parent = nullptr);

    const CMailRecipientInfo& Record() const { return m_record; }
    bool OnApply() override;

    QLineEdit* AddressEdit(int row) const { return m_rows[static_cast<size_t>(row)].address; }
    QCheckBox* ErrorBox(int row) const { return m_rows[static_cast<size_t>(row)].error; }
    QCheckBox* ReportBox(int row) const { return m_rows[static_cast<size_t>(row)].report; }
    QPushButton* SendNowButton(int row) const { return m_rows[static_cast<size_t>(row)].sendNow; }

    // The report to row's address as typed, applied or not.
    void SendNow(int row);

private:
    struct Row {
        QLineEdit* address = nullptr;
        QCheckBox* error = nullptr;
        QCheckBox* report = nullptr;
        QPushButton* sendNow = nullptr;
    };
    void BuildRow(int row, class QGridLayout* grid);

    CMailRecipientInfo m_record;
    QObject* m_sheet;
    const IClock& m_clock;
    std::array<Row, MAIL_RECIPIENT_COUNT> m_rows;
};
