#pragma once
// CProjectorAddDialog: asks for the IP address of a projector to add. OK is
// usable only while all four fields of the address hold a value; the dialog
// ends with the address as dotted text. Modal, made by the view on the stack.
#include <string>

#include <QDialog>

class CIPAddressCtrlEx;
class QPushButton;

class CProjectorAddDialog : public QDialog {
    Q_OBJECT
public:
    explicit CProjectorAddDialog(QWidget* parent = nullptr);

    // The dotted address, once the dialog ended with OK.
    const std::string& Address() const { return m_address; }
    // Ends the dialog only with a complete address.
    void accept() override;

    CIPAddressCtrlEx* AddressCtrl() const { return m_addressCtrl; }
    QPushButton* OkButton() const { return m_ok; }

private:
    CIPAddressCtrlEx* m_addressCtrl;
    QPushButton* m_ok;
    std::string m_address;
};
