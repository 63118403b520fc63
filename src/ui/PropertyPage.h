#pragma once
// CPropertyPage: one page of a property sheet. It shows and edits its own
// copy of the values; OnApply checks what was entered and, when it is
// acceptable, stores it where its sheet takes it from. A page marks itself
// modified on every change, which lets the sheet offer Apply. Owned by its
// sheet (CPropertySheet).
#include <QWidget>

class CPropertyPage : public QWidget {
    Q_OBJECT
public:
    explicit CPropertyPage(const QString& title, QWidget* parent = nullptr);

    const QString& Title() const { return m_title; }
    // False refuses: the page has told the operator why, and the sheet stays
    // open on it with the entries as typed.
    virtual bool OnApply() = 0;

    bool IsModified() const { return m_modified; }
    void SetModified(bool modified = true);

signals:
    void ModifiedChanged(bool modified);

private:
    QString m_title;
    bool m_modified = false;
};
