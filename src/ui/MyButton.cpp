#include "ui/MyButton.h"

CMyButton::CMyButton(int id, const QString& caption, QWidget* parent) : QPushButton(caption, parent), m_id(id) {
    setObjectName(QStringLiteral("button%1").arg(id));
    setAccessibleName(caption);
    // A press goes to the projectors at once; the keyboard focus stays
    // where the operator left it (the list's selection is the target).
    setFocusPolicy(Qt::TabFocus);
    setAutoDefault(false);
}
