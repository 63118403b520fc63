#include "ui/PropertySheet.h"

#include <algorithm>

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "ui/DialogButtons.h"
#include "ui/PropertyPage.h"

CPropertySheet::CPropertySheet(const QString& caption, QWidget* parent)
    : QDialog(parent), m_tabs(new QTabWidget(this)), m_buttons(MakeDialogButtons(this, true)) {
    setWindowTitle(caption);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addWidget(m_buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(m_buttons->button(QDialogButtonBox::Ok), &QPushButton::clicked, this, &CPropertySheet::OnOk);
    connect(m_buttons->button(QDialogButtonBox::Apply), &QPushButton::clicked, this,
            [this] { ApplyPages(); });
    UpdateApply();
}

void CPropertySheet::AddPage(CPropertyPage* page) {
    m_pages.push_back(page);
    m_tabs->addTab(page, page->Title());
    connect(page, &CPropertyPage::ModifiedChanged, this, &CPropertySheet::UpdateApply);
    UpdateApply();
}

CPropertyPage* CPropertySheet::Page(int index) const {
    return index >= 0 && index < PageCount() ? m_pages[std::size_t(index)] : nullptr;
}

bool CPropertySheet::ApplyPages() {
    for (CPropertyPage* page : m_pages) {
        if (!page->OnApply()) {
            m_tabs->setCurrentWidget(page);
            return false;
        }
    }
    for (CPropertyPage* page : m_pages)
        page->SetModified(false);
    emit Applied();
    return true;
}

void CPropertySheet::OnOk() {
    if (ApplyPages())
        accept();
}

void CPropertySheet::UpdateApply() {
    const bool modified = std::any_of(m_pages.begin(), m_pages.end(), [](auto* p) { return p->IsModified(); });
    m_buttons->button(QDialogButtonBox::Apply)->setEnabled(modified);
}
