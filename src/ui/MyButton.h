#pragma once
// CMyButton: the controller's push button. It carries its control id and
// gives assistive technology its caption as its name. Owned by its window.
#include <QPushButton>

class CMyButton : public QPushButton {
public:
    CMyButton(int id, const QString& caption, QWidget* parent);

    int Id() const { return m_id; }

private:
    int m_id;
};
