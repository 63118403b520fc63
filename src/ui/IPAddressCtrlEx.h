#pragma once
// CIPAddressCtrlEx: the IP address control, four CIPEdit fields of 0..255
// separated by dots, that knows when it is complete: after every change of a
// field it tells its dialog whether all four hold a value (WM_IP_COMPLETE).
// Owned by its dialog.
#include <array>
#include <string>

#include <QWidget>

class CIPEdit;

class CIPAddressCtrlEx : public QWidget {
    Q_OBJECT
public:
    static constexpr int kFieldCount = 4;

    // name: the accessible name of the control; field i is "name i+1".
    explicit CIPAddressCtrlEx(const QString& name, QWidget* parent = nullptr);

    bool IsBlank() const;
    // The number of fields that hold a value; values gets each field's value
    // (0 for a blank one).
    int GetAddress(std::array<int, kFieldCount>& values) const;
    // The dotted address ("%u.%u.%u.%u"), or "" unless all four are filled.
    std::string AddressText() const;
    CIPEdit* Field(int i) const { return m_fields[std::size_t(i)]; }

signals:
    // WM_IP_COMPLETE: complete is true when no field is blank.
    void IpComplete(bool complete);

private:
    void OnFieldChanged();

    std::array<CIPEdit*, kFieldCount> m_fields{};
};
