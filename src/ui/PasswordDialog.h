#pragma once
// CPasswordDialog: the login a projector's board asks for: user name,
// password (masked) and whether to save the password. It shows which
// projector asks (the board's host name when it gave one, else the stored
// name, with its addresses) and starts from the record's stored login. The
// save tick can be changed only when the caller allows it. Modal, made by
// the view on the stack; the caller stores what was typed.
#include <string>

#include <QDialog>

class CProjectorInfo;
class QCheckBox;
class QLabel;
class QLineEdit;

class CPasswordDialog : public QDialog {
    Q_OBJECT
public:
    // record may be null (the projector line is then empty); hostName ""
    // shows the record's name.
    CPasswordDialog(const CProjectorInfo* record, const std::string& hostName, bool rememberAllowed,
                    QWidget* parent = nullptr);

    // What was typed, once the dialog ended with OK.
    const std::string& UserName() const { return m_userName; }
    const std::string& Password() const { return m_password; }
    int Remember() const { return m_remember; }
    void accept() override;

    // "%s (%s : %s)" of the name shown, the IP address and the MAC address.
    static std::string ProjectorLine(const CProjectorInfo* record, const std::string& hostName);

    QLabel* ProjectorText() const { return m_projector; }
    QLineEdit* UserField() const { return m_user; }
    QLineEdit* PasswordField() const { return m_passwordField; }
    QCheckBox* SaveTick() const { return m_save; }

private:
    QLabel* m_projector;
    QLineEdit* m_user;
    QLineEdit* m_passwordField;
    QCheckBox* m_save;
    std::string m_userName;
    std::string m_password;
    int m_remember = 1;
};
