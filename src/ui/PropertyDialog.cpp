#include "ui/PropertyDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/UiDefs.h"
#include "ui/UiText.h"

namespace {
constexpr int kValueIds[CPropertyDialog::kValueCount] = {1007, 1008, 1009, 1010, 1011, 1012,
                                                         1013, 1016, 1017, 1018, 1019, 1020};
// Room for a long model name or input signal text.
constexpr int kValueWidth = 260;
}  // namespace

CPropertyDialog::CPropertyDialog(const CProjectorInfo& record, QWidget* parent)
    : QDialog(parent, DIALOG_WINDOW_FLAGS), m_record(record) {
    setObjectName(QStringLiteral("propertyDialog"));
    setWindowTitle(UiText(IDS_PROPERTY_CAPTION));
    auto* form = new QFormLayout;
    for (int i = 0; i < kValueCount; ++i) {
        auto* label = new QLabel(UiText(IDS_PROPERTY_LABEL_FIRST + i), this);
        auto* value = new QLineEdit(QString::fromStdString(ValueText(i)), this);
        value->setObjectName(QStringLiteral("value%1").arg(ValueId(i)));
        value->setAccessibleName(LabelName(label->text()));
        value->setReadOnly(true);
        // Shown on the dialog's own colour, as values that cannot be edited.
        QPalette palette = value->palette();
        palette.setColor(QPalette::Base, palette.color(QPalette::Window));
        value->setPalette(palette);
        value->setMinimumWidth(kValueWidth);
        value->setCursorPosition(0);
        label->setBuddy(value);
        form->addRow(label, value);
        m_values.push_back(value);
    }
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* close = buttons->addButton(UiText(IDS_PROPERTY_CLOSE), QDialogButtonBox::RejectRole);
    close->setDefault(true);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    close->setFocus();
}

int CPropertyDialog::ValueId(int i) { return i >= 0 && i < kValueCount ? kValueIds[i] : 0; }

QLineEdit* CPropertyDialog::Value(int i) const {
    return i >= 0 && i < int(m_values.size()) ? m_values[std::size_t(i)] : nullptr;
}

std::string CPropertyDialog::ValueText(int i) const {
    const CProjectorInfo& r = m_record;
    switch (i) {
    case 0: return r.name;
    case 1: return r.model;
    case 2: return r.PowerText();
    case 3: return r.LampText();
    case 4: return r.HoursText();
    case 5: return r.LifeText();
    case 6: return r.StatusText();
    case 7: return r.InputText();
    case 8: return r.inputSignal;
    case 9: return r.ipAddress;
    case 10: return r.macAddress;
    case 11: return r.serialNumber;
    default: return {};
    }
}
