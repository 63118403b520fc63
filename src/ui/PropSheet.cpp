#include "ui/PropSheet.h"

#include <algorithm>

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "ui/DialogButtons.h"
#include "ui/PropPage.h"

CPropSheet::CPropSheet(const QString& caption, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_tabs(new QTabWidget(this)),
      m_buttons(MakeDialogButtons(this, true)) {
    setWindowTitle(caption);
    setAccessibleName(caption);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs, 1);
    layout->addWidget(m_buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    m_buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(m_buttons->button(QDialogButtonBox::Ok), &QPushButton::clicked, this, &CPropSheet::accept);
    connect(ApplyButton(), &QPushButton::clicked, this, [this] { ApplyPages(); });
    UpdateApply();
}

void CPropSheet::AddPage(CPropPage* page) {
    m_pages.push_back(page);
    m_tabs->addTab(page, page->Title());
    connect(page, &CPropPage::ModifiedChanged, this, &CPropSheet::UpdateApply);
    UpdateApply();
}

CPropPage* CPropSheet::Page(int index) const {
    return index >= 0 && index < PageCount() ? m_pages[std::size_t(index)] : nullptr;
}

QPushButton* CPropSheet::ApplyButton() const { return m_buttons->button(QDialogButtonBox::Apply); }

bool CPropSheet::ApplyPages() {
    for (CPropPage* page : m_pages) {
        if (!page->OnApply()) {
            m_tabs->setCurrentWidget(page);
            return false;
        }
    }
    for (CPropPage* page : m_pages)
        page->SetModified(false);
    emit Applied();
    return true;
}

void CPropSheet::accept() {
    if (ApplyPages())
        QDialog::accept();
}

void CPropSheet::UpdateApply() {
    const bool modified = std::any_of(m_pages.begin(), m_pages.end(), [](auto* p) { return p->IsModified(); });
    ApplyButton()->setEnabled(modified);
}
