#pragma once
// CPropPage: one page of a property sheet. It shows and edits its own copy
// of a part of the settings; OnApply checks what was entered and, when it is
// acceptable, copies it into that copy, where its sheet takes it from. A page
// marks itself modified on every change, which lets the sheet offer Apply.
// Owned by its sheet (CPropSheet).
#include <QWidget>

class CPropPage : public QWidget {
    Q_OBJECT
public:
    explicit CPropPage(const QString& title, QWidget* parent = nullptr);

    const QString& Title() const { return m_title; }
    // False refuses: the page has told the operator why, and the sheet stays
    // open on it with the entries as typed.
    virtual bool OnApply() { return true; }

    bool IsModified() const { return m_modified; }
    // Every change is told, also one to a page that was modified already:
    // the sheet then offers Apply again.
    void SetModified(bool modified = true);

signals:
    void ModifiedChanged(bool modified);

private:
    QString m_title;
    bool m_modified = false;
};
