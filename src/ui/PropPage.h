#pragma once
// CPropPage: one page of a property sheet. It edits its own copy of a part
// of the settings, marks itself modified when the operator changes one of
// its controls (which enables the sheet's Apply), and copies its controls
// into that copy when applied. The sheet owns it.
#include <functional>

#include <QWidget>

class CPropPage : public QWidget {
public:
    explicit CPropPage(const QString& title, QWidget* parent = nullptr);

    QString Title() const { return m_title; }
    bool IsModified() const { return m_modified; }
    void SetModified(bool modified = true);
    // Copies the controls into the page's record; false keeps the sheet open.
    virtual bool OnApply() { return true; }

    // Called by the sheet: told whenever the page marks itself modified.
    void SetModifiedHandler(std::function<void()> handler) { m_modifiedHandler = std::move(handler); }

private:
    QString m_title;
    bool m_modified = false;
    std::function<void()> m_modifiedHandler;
};
