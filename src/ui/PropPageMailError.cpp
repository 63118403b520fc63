#include "ui/PropPageMailError.h"

#include <QCheckBox>
#include <QLabel>
#include <QVBoxLayout>

#include "platform/ResourceText.h"
#include "ui/UiDefs.h"

namespace {
QString Text(int id) { return QString::fromStdString(ResourceText(id)); }
}  // namespace

CPropPageMailError::CPropPageMailError(const CMailErrorInfo& record, QWidget* parent)
    : CPropPage(Text(IDS_MAIL_PAGE_ERROR), parent), m_record(record) {
    auto* layout = new QVBoxLayout(this);
    auto* intro = new QLabel(Text(IDS_MAIL_ERROR_INTRO), this);
    intro->setWordWrap(true);
    layout->addWidget(intro);
    layout->addSpacing(8);
    for (size_t kind = 0; kind < m_boxes.size(); ++kind) {
        auto* box = new QCheckBox(Text(IDS_MAIL_ERROR_KIND_FIRST + static_cast<int>(kind)), this);
        box->setAccessibleName(box->text());
        box->setChecked(m_record.flags[kind] != 0);
        // Modified only when the box now differs from the page's copy.
        connect(box, &QCheckBox::clicked, this, [this, kind](bool on) {
            if (on != (m_record.flags[kind] != 0))
                SetModified();
        });
        m_boxes[kind] = box;
        layout->addWidget(box);
    }
    layout->addStretch(1);
}

bool CPropPageMailError::OnApply() {
    for (size_t kind = 0; kind < m_boxes.size(); ++kind)
        m_record.flags[kind] = m_boxes[kind]->isChecked() ? 1 : 0;
    return true;
}
