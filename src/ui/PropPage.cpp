#include "ui/PropPage.h"

CPropPage::CPropPage(const QString& title, QWidget* parent) : QWidget(parent), m_title(title) {
    setAccessibleName(title);
}

void CPropPage::SetModified(bool modified) {
    m_modified = modified;
    if (modified && m_modifiedHandler)
        m_modifiedHandler();
}
