#include "ui/PropPage.h"

CPropPage::CPropPage(const QString& title, QWidget* parent) : QWidget(parent), m_title(title) {
    setAccessibleName(title);
}

void CPropPage::SetModified(bool modified) {
    if (m_modified == modified && !modified)
        return;
    m_modified = modified;
    emit ModifiedChanged(modified);
}
