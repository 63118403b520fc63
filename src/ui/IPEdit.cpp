#include "ui/IPEdit.h"

#include <algorithm>

#include <QKeyEvent>
#include <QRegularExpressionValidator>

namespace {
constexpr int kMaxDigits = 3;
constexpr int kMaxValue = 255;
}  // namespace

CIPEdit::CIPEdit(QWidget* parent) : QLineEdit(parent) {
    setMaxLength(kMaxDigits);
    setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,3}")), this));
    setAlignment(Qt::AlignCenter);
    connect(this, &QLineEdit::textChanged, this, &CIPEdit::IpFieldChanged);
    connect(this, &QLineEdit::textEdited, this, &CIPEdit::OnEdited);
}

void CIPEdit::SetNeighbours(CIPEdit* previous, CIPEdit* next) {
    m_previous = previous;
    m_next = next;
}

int CIPEdit::Value() const { return std::min(text().toInt(), kMaxValue); }

void CIPEdit::Enter(CIPEdit* field, bool atEnd) {
    if (!field)
        return;
    field->setFocus(Qt::OtherFocusReason);
    if (atEnd)
        field->end(false);
    else
        field->selectAll();
}

void CIPEdit::OnEdited() {
    if (text().toInt() > kMaxValue)
        setText(QString::number(kMaxValue));
    if (text().size() == kMaxDigits && cursorPosition() == kMaxDigits)
        Enter(m_next, false);
}

void CIPEdit::keyPressEvent(QKeyEvent* event) {
    const bool atStart = cursorPosition() == 0 && !hasSelectedText();
    const bool atEnd = cursorPosition() == text().size() && !hasSelectedText();
    switch (event->key()) {
    case Qt::Key_Period:
    case Qt::Key_Space:
        // An empty field stays: "1..2" must not skip a field.
        if (!IsBlank() && m_next)
            Enter(m_next, false);
        event->accept();
        return;
    case Qt::Key_Backspace:
    case Qt::Key_Left:
        if (atStart && m_previous) {
            Enter(m_previous, true);
            event->accept();
            return;
        }
        break;
    case Qt::Key_Right:
        if (atEnd && m_next) {
            m_next->setFocus(Qt::OtherFocusReason);
            m_next->home(false);
            event->accept();
            return;
        }
        break;
    default:
        break;
    }
    QLineEdit::keyPressEvent(event);
}
