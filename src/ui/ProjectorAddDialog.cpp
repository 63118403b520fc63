#include "ui/ProjectorAddDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/DialogButtons.h"
#include "ui/IPAddressCtrlEx.h"
#include "ui/UiDefs.h"
#include "ui/UiText.h"

CProjectorAddDialog::CProjectorAddDialog(QWidget* parent) : QDialog(parent, DIALOG_WINDOW_FLAGS) {
    setObjectName(QStringLiteral("projectorAddDialog"));
    setWindowTitle(UiText(IDS_ADD_CAPTION));
    auto* label = new QLabel(UiText(IDS_ADD_ADDRESS), this);
    m_addressCtrl = new CIPAddressCtrlEx(label->text(), this);
    m_addressCtrl->setObjectName(QStringLiteral("address"));
    label->setBuddy(m_addressCtrl);

    QDialogButtonBox* buttons = MakeDialogButtons(this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    m_ok->setEnabled(false);
    m_ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_addressCtrl, &CIPAddressCtrlEx::IpComplete, m_ok, &QPushButton::setEnabled);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_addressCtrl);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    m_addressCtrl->setFocus();
}

void CProjectorAddDialog::accept() {
    const std::string address = m_addressCtrl->AddressText();
    if (address.empty())
        return;
    m_address = address;
    QDialog::accept();
}
