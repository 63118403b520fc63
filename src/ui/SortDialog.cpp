#include "ui/SortDialog.h"

#include <algorithm>

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "ui/DialogButtons.h"
#include "ui/ListColumns.h"
#include "ui/SettingDialogTexts.h"
#include "ui/UiText.h"
#include "ui/ViewItemInfoList.h"

CSortDialog::CSortDialog(const CViewItemInfoList& columns, const CViewSortInfo& sort, QWidget* parent)
    : QDialog(parent),
      m_key(new QComboBox(this)),
      m_ascending(new QRadioButton(UiText(IDS_SORT_ASCENDING), this)),
      m_descending(new QRadioButton(UiText(IDS_SORT_DESCENDING), this)) {
    setWindowTitle(UiText(IDS_SORT_DIALOG));
    // Each entry carries its column number: two columns may have the same
    // caption, a column never has two numbers.
    for (int column = 0; column < LIST_COLUMN_COUNT; ++column) {
        const CViewItemInfo* item = columns.ByColumn(column);
        if (item && item->visible)
            m_key->addItem(QString::fromStdString(ColumnCaption(column)), column);
    }
    m_key->setCurrentIndex(std::max(0, m_key->findData(sort.listSort)));
    m_key->setAccessibleName(PlainLabel(UiText(IDS_SORT_KEY)));
    (sort.listSortOrder == 1 ? m_descending : m_ascending)->setChecked(true);

    auto* keyLabel = new QLabel(UiText(IDS_SORT_KEY), this);
    keyLabel->setBuddy(m_key);
    auto* keyRow = new QHBoxLayout;
    keyRow->addWidget(keyLabel);
    keyRow->addWidget(m_key, 1);
    auto* orderRow = new QHBoxLayout;
    orderRow->addWidget(m_ascending);
    orderRow->addWidget(m_descending);
    orderRow->addStretch(1);
    QDialogButtonBox* buttons = MakeDialogButtons(this);
    connect(buttons->button(QDialogButtonBox::Ok), &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(keyRow);
    layout->addLayout(orderRow);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

CViewSortInfo CSortDialog::Result() const {
    CViewSortInfo result;
    const QVariant column = m_key->currentData();
    result.listSort = column.isValid() ? column.toInt() : COLUMN_NAME;
    result.listSortOrder = m_ascending->isChecked() ? 0 : 1;
    return result;
}
