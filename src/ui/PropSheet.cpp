#include "ui/PropSheet.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "platform/ResourceText.h"
#include "ui/PropPage.h"
#include "ui/UiDefs.h"

namespace {

QPushButton* NamedButton(int textId, QWidget* parent) {
    auto* button = new QPushButton(QString::fromStdString(ResourceText(textId)), parent);
    QString name = button->text();
    button->setAccessibleName(name.remove(QLatin1Char('&')).section(QLatin1Char('('), 0, 0));
    return button;
}

}  // namespace

CPropSheet::CPropSheet(const QString& caption, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_tabs(new QTabWidget(this)),
      m_apply(NamedButton(IDS_SHEET_APPLY, this)) {
    setWindowTitle(caption);
    setAccessibleName(caption);
    auto* ok = NamedButton(IDS_SHEET_OK, this);
    auto* cancel = NamedButton(IDS_SHEET_CANCEL, this);
    ok->setDefault(true);
    m_apply->setEnabled(false);
    connect(ok, &QPushButton::clicked, this, &CPropSheet::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_apply, &QPushButton::clicked, this, [this] { OnApplyClicked(); });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(m_apply);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs, 1);
    layout->addLayout(buttons);
}

void CPropSheet::AddPage(CPropPage* page) {
    m_tabs->addTab(page, page->Title());
    page->SetModifiedHandler([this] { m_apply->setEnabled(true); });
}

int CPropSheet::PageCount() const { return m_tabs->count(); }

CPropPage* CPropSheet::Page(int index) const { return static_cast<CPropPage*>(m_tabs->widget(index)); }

bool CPropSheet::ApplyPages() {
    for (int i = 0; i < PageCount(); ++i) {
        if (!Page(i)->OnApply()) {
            m_tabs->setCurrentIndex(i);
            return false;
        }
    }
    for (int i = 0; i < PageCount(); ++i)
        Page(i)->SetModified(false);
    return true;
}

void CPropSheet::OnApplyClicked() {
    if (ApplyPages())
        m_apply->setEnabled(false);
}

void CPropSheet::accept() {
    if (ApplyPages())
        QDialog::accept();
}
