#include "ui/PropPageMailRecipient.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "mail/MailDefs.h"
#include "mail/MailObject.h"
#include "mail/MailText.h"
#include "platform/ResourceText.h"
#include "ui/UiDefs.h"

namespace {

QString Text(int id) { return QString::fromStdString(ResourceText(id)); }

enum Column { kNumber, kAddress, kError, kReport, kSendNow };

}  // namespace

CPropPageMailRecipient::CPropPageMailRecipient(const CMailRecipientInfo& record, QObject* sheet,
                                               const IClock& clock, QWidget* parent)
    : CPropPage(Text(IDS_MAIL_PAGE_RECIPIENT), parent), m_record(record), m_sheet(sheet), m_clock(clock) {
    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(Text(IDS_MAIL_RECIPIENT_ADDRESS), this), 0, kAddress);
    grid->addWidget(new QLabel(Text(IDS_MAIL_RECIPIENT_ERROR), this), 0, kError, Qt::AlignHCenter);
    grid->addWidget(new QLabel(Text(IDS_MAIL_RECIPIENT_REPORT), this), 0, kReport, Qt::AlignHCenter);
    for (int row = 0; row < MAIL_RECIPIENT_COUNT; ++row)
        BuildRow(row, grid);
    grid->setColumnStretch(kAddress, 1);
    grid->setRowStretch(MAIL_RECIPIENT_COUNT + 1, 1);
}

void CPropPageMailRecipient::BuildRow(int row, QGridLayout* grid) {
    const auto slot = static_cast<size_t>(row);
    const CMailRecipient& entry = m_record.entries[slot];
    Row& controls = m_rows[slot];
    const QString number = QString::number(row + 1);
    // The row's controls are named after the row, so each can be told apart.
    const QString rowName = QString::fromStdString(FormatResourceText(IDS_MAIL_RECIPIENT_ROW, {number.toStdString()}));
    controls.address = new QLineEdit(QString::fromStdString(entry.address), this);
    controls.address->setAccessibleName(rowName);
    controls.address->setMinimumWidth(220);
    controls.error = new QCheckBox(this);
    controls.error->setChecked(entry.errorMail != 0);
    controls.error->setAccessibleName(rowName + " " + Text(IDS_MAIL_RECIPIENT_ERROR));
    controls.report = new QCheckBox(this);
    controls.report->setChecked(entry.periodicReport != 0);
    controls.report->setAccessibleName(rowName + " " + Text(IDS_MAIL_RECIPIENT_REPORT));
    controls.sendNow = new QPushButton(Text(IDS_MAIL_RECIPIENT_SEND_NOW), this);
    controls.sendNow->setAccessibleName(rowName + " " + controls.sendNow->text());
    controls.sendNow->setEnabled(!controls.address->text().isEmpty());

    grid->addWidget(new QLabel(number, this), row + 1, kNumber);
    grid->addWidget(controls.address, row + 1, kAddress);
    grid->addWidget(controls.error, row + 1, kError, Qt::AlignHCenter);
    grid->addWidget(controls.report, row + 1, kReport, Qt::AlignHCenter);
    grid->addWidget(controls.sendNow, row + 1, kSendNow);

    connect(controls.address, &QLineEdit::textChanged, this, [this, slot](const QString& text) {
        m_rows[slot].sendNow->setEnabled(!text.isEmpty());
        SetModified();
    });
    connect(controls.error, &QCheckBox::clicked, this, [this, slot](bool on) {
        if (on != (m_record.entries[slot].errorMail != 0))
            SetModified();
    });
    connect(controls.report, &QCheckBox::clicked, this, [this, slot](bool on) {
        if (on != (m_record.entries[slot].periodicReport != 0))
            SetModified();
    });
    connect(controls.sendNow, &QPushButton::clicked, this, [this, row] { SendNow(row); });
}

void CPropPageMailRecipient::SendNow(int row) {
    const QString address = AddressEdit(row)->text();
    if (address.isEmpty())
        return;
    CMailObject mail;
    mail.kind = MAIL_KIND_REPORT;
    mail.timeStamp = m_clock.Now();
    mail.recipients.push_back(address.toStdString());
    ::SendMessage(m_sheet, WM_MAIL_SEND_NOW, reinterpret_cast<WPARAM>(&mail));
}

bool CPropPageMailRecipient::OnApply() {
    for (size_t slot = 0; slot < m_rows.size(); ++slot) {
        m_record.entries[slot].address = m_rows[slot].address->text().toStdString();
        m_record.entries[slot].errorMail = m_rows[slot].error->isChecked() ? 1 : 0;
        m_record.entries[slot].periodicReport = m_rows[slot].report->isChecked() ? 1 : 0;
    }
    return true;
}
