#pragma once
// CPropertyDialog: a projector's properties, twelve read-only values taken
// from a copy of its record when the dialog opens; they are not refreshed
// while it is open and nothing is written back. Modal, made by the view on
// the stack.
#include <string>
#include <vector>

#include <QDialog>

#include "comm/ProjectorInfo.h"

class QLineEdit;

class CPropertyDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kValueCount = 12;

    CPropertyDialog(const CProjectorInfo& record, QWidget* parent = nullptr);

    // Value i (0..11) in the order shown; null outside.
    QLineEdit* Value(int i) const;
    // The control id of value i (1007..1013, 1016..1020).
    static int ValueId(int i);

private:
    std::string ValueText(int i) const;

    CProjectorInfo m_record;
    std::vector<QLineEdit*> m_values;
};
