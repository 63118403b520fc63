#include "ui/IPAddressCtrlEx.h"

#include <QHBoxLayout>
#include <QLabel>

#include "ui/IPEdit.h"

CIPAddressCtrlEx::CIPAddressCtrlEx(const QString& name, QWidget* parent) : QWidget(parent) {
    setAccessibleName(name);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    for (int i = 0; i < kFieldCount; ++i) {
        if (i > 0)
            layout->addWidget(new QLabel(QStringLiteral("."), this));
        auto* field = new CIPEdit(this);
        field->setObjectName(QStringLiteral("field%1").arg(i + 1));
        field->setAccessibleName(name + QStringLiteral(" %1").arg(i + 1));
        field->setFixedWidth(field->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 8);
        connect(field, &CIPEdit::IpFieldChanged, this, &CIPAddressCtrlEx::OnFieldChanged);
        layout->addWidget(field);
        m_fields[std::size_t(i)] = field;
    }
    for (int i = 0; i < kFieldCount; ++i)
        m_fields[std::size_t(i)]->SetNeighbours(i > 0 ? m_fields[std::size_t(i) - 1] : nullptr,
                                                i + 1 < kFieldCount ? m_fields[std::size_t(i) + 1] : nullptr);
    setFocusProxy(m_fields[0]);
}

bool CIPAddressCtrlEx::IsBlank() const {
    for (const CIPEdit* field : m_fields)
        if (!field->IsBlank())
            return false;
    return true;
}

int CIPAddressCtrlEx::GetAddress(std::array<int, kFieldCount>& values) const {
    int filled = 0;
    for (int i = 0; i < kFieldCount; ++i) {
        values[std::size_t(i)] = m_fields[std::size_t(i)]->Value();
        filled += m_fields[std::size_t(i)]->IsBlank() ? 0 : 1;
    }
    return filled;
}

std::string CIPAddressCtrlEx::AddressText() const {
    std::array<int, kFieldCount> values{};
    if (IsBlank() || GetAddress(values) < kFieldCount)
        return {};
    std::string text;
    for (int value : values)
        text += (text.empty() ? "" : ".") + std::to_string(unsigned(value));
    return text;
}

void CIPAddressCtrlEx::OnFieldChanged() {
    std::array<int, kFieldCount> values{};
    emit IpComplete(GetAddress(values) == kFieldCount);
}
