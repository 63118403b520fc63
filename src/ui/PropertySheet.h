#pragma once
// CPropertySheet: a modal dialog of tabbed pages with OK, Cancel and Apply.
// OK and Apply ask every page to apply its entries; a page that refuses is
// brought to the front and the sheet stays open. When every page has applied,
// Applied() tells the owner to take the values at once; OK then closes the
// sheet. Apply is offered while a page holds changes that were not applied.
// Whoever runs the sheet owns it; the sheet owns its pages.
#include <vector>

#include <QDialog>

class CPropertyPage;
class QDialogButtonBox;
class QTabWidget;

class CPropertySheet : public QDialog {
    Q_OBJECT
public:
    explicit CPropertySheet(const QString& caption, QWidget* parent = nullptr);

    // Appends a page as the next tab; the sheet takes it over.
    void AddPage(CPropertyPage* page);
    int PageCount() const { return int(m_pages.size()); }
    CPropertyPage* Page(int index) const;
    QTabWidget* Tabs() const { return m_tabs; }
    QDialogButtonBox* Buttons() const { return m_buttons; }

    // Every page applies; true when none refused (Applied() has then been
    // emitted), false with the refusing page shown.
    bool ApplyPages();

signals:
    void Applied();

private:
    void OnOk();
    void UpdateApply();

    std::vector<CPropertyPage*> m_pages;
    QTabWidget* m_tabs;
    QDialogButtonBox* m_buttons;
};
