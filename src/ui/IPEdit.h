#pragma once
// CIPEdit: one of the four fields of the IP address control. It takes up to
// three digits and holds at most 255; a full field, "." or a blank moves on
// to the next field, and Backspace or Left at the start of a field (Right at
// its end) moves to the neighbour, so an address is typed in one go. Every
// change of its text is told to the control (WM_IP_FIELD_CHANGED). Owned by
// CIPAddressCtrlEx.
#include <QLineEdit>

class CIPEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit CIPEdit(QWidget* parent = nullptr);

    void SetNeighbours(CIPEdit* previous, CIPEdit* next);
    bool IsBlank() const { return text().isEmpty(); }
    // The field's number, at most 255; 0 when blank.
    int Value() const;

signals:
    // WM_IP_FIELD_CHANGED
    void IpFieldChanged();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void OnEdited();
    static void Enter(CIPEdit* field, bool atEnd);

    CIPEdit* m_previous = nullptr;
    CIPEdit* m_next = nullptr;
};
