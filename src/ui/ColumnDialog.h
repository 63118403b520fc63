#pragma once
// CColumnDialog: the column settings dialog. It lists every column in its
// display order with a tick for the shown ones, moves the selected column up
// or down, shows or hides it, and edits its width in pixels. The projector
// name column is always shown. It works on a copy of the column list; on OK
// Result() holds the shown columns in the chosen order followed by the
// hidden ones. Whoever runs the dialog owns it.
#include <QDialog>

#include "ui/ViewItemInfoList.h"

class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;

class CColumnDialog : public QDialog {
    Q_OBJECT
public:
    explicit CColumnDialog(const CViewItemInfoList& columns, QWidget* parent = nullptr);

    const CViewItemInfoList& Result() const { return m_result; }

    // The dialog's commands, as its buttons run them.
    void MoveUp();
    void MoveDown();
    void ShowSelected();
    void HideSelected();

    QListWidget* List() const { return m_list; }
    QLineEdit* WidthField() const { return m_width; }
    QPushButton* UpButton() const { return m_up; }
    QPushButton* DownButton() const { return m_down; }
    QPushButton* ShowButton() const { return m_show; }
    QPushButton* HideButton() const { return m_hide; }

private:
    void BuildLayout();
    void FillRows();
    int SelectedRow() const;
    void ShowRow(int row);
    void OnSelectionChanged();
    void OnItemChanged(QListWidgetItem* item);
    void StoreWidth(int row, bool emptyMeansZero);
    void SetVisible(int row, bool visible);
    void Swap(int row, int other);
    void UpdateButtons();
    void OnOk();

    // The definitions by position (row); the list's rows follow it.
    std::vector<CViewItemInfo> m_items;
    CViewItemInfoList m_result;
    QListWidget* m_list;
    QLineEdit* m_width;
    QPushButton* m_up;
    QPushButton* m_down;
    QPushButton* m_show;
    QPushButton* m_hide;
    int m_shownRow = -1;  // the row whose width the field shows
    bool m_filling = false;
};
