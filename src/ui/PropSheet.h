#pragma once
// CPropSheet: a property sheet: its pages on tabs, with OK, Cancel and Apply.
// Apply is enabled while a page is marked modified; OK and Apply apply every
// page in turn, and a page that refuses is shown and keeps the sheet open.
// It owns its pages. Made and run modally by whoever edits the settings.
#include <QDialog>

class CPropPage;
class QPushButton;
class QTabWidget;

// What running a sheet modally returns.
constexpr int PROPSHEET_OK = 1;
constexpr int PROPSHEET_CANCEL = 2;

class CPropSheet : public QDialog {
public:
    explicit CPropSheet(const QString& caption, QWidget* parent = nullptr);

    // Appends page as the next tab; the sheet takes it over.
    void AddPage(CPropPage* page);
    int PageCount() const;
    CPropPage* Page(int index) const;
    QTabWidget* Tabs() const { return m_tabs; }
    QPushButton* ApplyButton() const { return m_apply; }

    // Applies every page; false when one refused (it is then shown).
    bool ApplyPages();
    void accept() override;

private:
    void OnApplyClicked();

    QTabWidget* m_tabs;
    QPushButton* m_apply;
};
