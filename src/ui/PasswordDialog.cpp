#include "ui/PasswordDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "comm/ProjectorInfo.h"
#include "ui/DialogButtons.h"
#include "ui/UiDefs.h"
#include "ui/UiText.h"

namespace {
// Room for a long host name and both addresses.
constexpr int kFieldWidth = 240;
}  // namespace

CPasswordDialog::CPasswordDialog(const CProjectorInfo* record, const std::string& hostName, bool rememberAllowed,
                                 QWidget* parent)
    : QDialog(parent, DIALOG_WINDOW_FLAGS) {
    setObjectName(QStringLiteral("passwordDialog"));
    setWindowTitle(UiText(IDS_PASSWORD_CAPTION));
    auto* projectorLabel = new QLabel(UiText(IDS_PASSWORD_PROJECTOR), this);
    m_projector = new QLabel(QString::fromStdString(ProjectorLine(record, hostName)), this);
    m_projector->setObjectName(QStringLiteral("projector"));
    // Read out as its own text, described by its label.
    m_projector->setAccessibleDescription(LabelName(projectorLabel->text()));
    m_projector->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* userLabel = new QLabel(UiText(IDS_PASSWORD_USER), this);
    m_user = new QLineEdit(QString::fromStdString(record ? record->userName : std::string()), this);
    m_user->setObjectName(QStringLiteral("userName"));
    m_user->setAccessibleName(LabelName(userLabel->text()));
    m_user->setMinimumWidth(kFieldWidth);
    userLabel->setBuddy(m_user);
    auto* passwordLabel = new QLabel(UiText(IDS_PASSWORD_PASSWORD), this);
    m_passwordField = new QLineEdit(QString::fromStdString(record ? record->password : std::string()), this);
    m_passwordField->setObjectName(QStringLiteral("password"));
    m_passwordField->setAccessibleName(LabelName(passwordLabel->text()));
    m_passwordField->setEchoMode(QLineEdit::Password);
    passwordLabel->setBuddy(m_passwordField);
    m_save = new QCheckBox(UiText(IDS_PASSWORD_SAVE), this);
    m_save->setObjectName(QStringLiteral("savePassword"));
    m_save->setAccessibleName(m_save->text());
    m_save->setChecked(m_remember != 0);
    m_save->setEnabled(rememberAllowed);

    auto* form = new QFormLayout;
    form->addRow(projectorLabel, m_projector);
    form->addRow(userLabel, m_user);
    form->addRow(passwordLabel, m_passwordField);
    form->addRow(m_save);
    QDialogButtonBox* buttons = MakeDialogButtons(this);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    m_user->setFocus();
}

std::string CPasswordDialog::ProjectorLine(const CProjectorInfo* record, const std::string& hostName) {
    if (!record)
        return {};
    const std::string& name = hostName.empty() ? record->name : hostName;
    return name + " (" + record->ipAddress + " : " + record->macAddress + ")";
}

void CPasswordDialog::accept() {
    m_userName = m_user->text().toStdString();
    m_password = m_passwordField->text().toStdString();
    m_remember = m_save->isChecked() ? 1 : 0;
    QDialog::accept();
}
