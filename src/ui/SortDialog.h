#pragma once
// CSortDialog: the sort dialog. The key list offers the captions of the
// shown columns in column-number order; the key column is chosen (the first
// entry when the key is not shown) and ascending or descending. Result() is
// the sort the operator chose. Whoever runs the dialog owns it.
#include <QDialog>

#include "settings/ViewSortInfo.h"

class CViewItemInfoList;
class QComboBox;
class QRadioButton;

class CSortDialog : public QDialog {
    Q_OBJECT
public:
    CSortDialog(const CViewItemInfoList& columns, const CViewSortInfo& sort, QWidget* parent = nullptr);

    CViewSortInfo Result() const;

    QComboBox* KeyList() const { return m_key; }
    QRadioButton* AscendingButton() const { return m_ascending; }
    QRadioButton* DescendingButton() const { return m_descending; }

private:
    QComboBox* m_key;
    QRadioButton* m_ascending;
    QRadioButton* m_descending;
};
