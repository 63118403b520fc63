#pragma once
// CPropPageMailError: the mail settings sheet's error page: which error
// kinds send an error mail. The sheet owns it.
#include <array>

#include "mail/MailErrorInfo.h"
#include "ui/PropPage.h"

class QCheckBox;

class CPropPageMailError : public CPropPage {
public:
    explicit CPropPageMailError(const CMailErrorInfo& record, QWidget* parent = nullptr);

    const CMailErrorInfo& Record() const { return m_record; }
    bool OnApply() override;
    QCheckBox* KindBox(int kind) const { return m_boxes[static_cast<size_t>(kind)]; }

private:
    CMailErrorInfo m_record;
    std::array<QCheckBox*, MAIL_ERROR_KIND_COUNT> m_boxes{};
};
