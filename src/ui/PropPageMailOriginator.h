#pragma once
// CPropPageMailOriginator: the mail settings sheet's originator page: the
// SMTP server, the sender's address and name, and the free text that ends
// every mail. The sheet owns it and reads its record (the values in force
// until the page is applied).
#include "mail/MailOriginatorInfo.h"
#include "ui/PropPage.h"

class QLineEdit;
class QPlainTextEdit;

class CPropPageMailOriginator : public CPropPage {
public:
    explicit CPropPageMailOriginator(const CMailOriginatorInfo& record, QWidget* parent = nullptr);

    const CMailOriginatorInfo& Record() const { return m_record; }
    bool OnApply() override;

    QLineEdit* ServerEdit() const { return m_server; }
    QLineEdit* AddressEdit() const { return m_address; }
    QLineEdit* NameEdit() const { return m_name; }
    QPlainTextEdit* InfoEdit() const { return m_info; }

private:
    CMailOriginatorInfo m_record;
    QLineEdit* m_server;
    QLineEdit* m_address;
    QLineEdit* m_name;
    QPlainTextEdit* m_info;
};
