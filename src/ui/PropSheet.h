#pragma once
// CPropSheet: a modal dialog of tabbed pages with OK, Cancel and Apply.
// OK and Apply ask every page to apply its entries; a page that refuses is
// brought to the front and the sheet stays open. When every page has applied,
// Applied() tells the owner to take the values at once, so that what the
// sheet shows as applied is in force even when the operator then cancels; OK
// then closes the sheet. Apply is offered while a page holds changes that
// were not applied. Whoever runs the sheet owns it; the sheet owns its pages.
#include <vector>

#include <QDialog>

class CPropPage;
class QDialogButtonBox;
class QPushButton;
class QTabWidget;

// What running a sheet modally returns.
constexpr int PROPSHEET_OK = 1;
constexpr int PROPSHEET_CANCEL = 2;

class CPropSheet : public QDialog {
    Q_OBJECT
public:
    explicit CPropSheet(const QString& caption, QWidget* parent = nullptr);

    // Appends a page as the next tab; the sheet takes it over.
    void AddPage(CPropPage* page);
    int PageCount() const { return int(m_pages.size()); }
    CPropPage* Page(int index) const;
    QTabWidget* Tabs() const { return m_tabs; }
    QDialogButtonBox* Buttons() const { return m_buttons; }
    QPushButton* ApplyButton() const;

    // Every page applies; true when none refused (Applied() has then been
    // emitted), false with the refusing page shown.
    bool ApplyPages();
    // OK: closes the sheet only when every page applied.
    void accept() override;

signals:
    void Applied();

private:
    void UpdateApply();

    std::vector<CPropPage*> m_pages;
    QTabWidget* m_tabs;
    QDialogButtonBox* m_buttons;
};
