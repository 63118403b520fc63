// The column dialog's rules (order, visibility, width, the name column that
// stays shown) and the sort dialog's key list and result.
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

#include "UiTestSupport.h"
#include "ui/ColumnDialog.h"
#include "ui/ListColumns.h"
#include "ui/SortDialog.h"

namespace {

std::vector<int> Order(const CViewItemInfoList& list) {
    std::vector<int> order;
    for (const auto& item : list.Items())
        order.push_back(item.column);
    return order;
}

void Ok(QDialog& dialog) { dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click(); }

}  // namespace

TEST(ColumnDialog, RowsFollowTheListAndTheButtonsFollowTheSelection) {
    CViewItemInfoList columns;
    columns.SetVisible(4, false, false);
    CColumnDialog dialog(columns);
    QListWidget* list = dialog.List();
    ASSERT_EQ(list->count(), LIST_COLUMN_COUNT);
    EXPECT_EQ(list->item(10)->text().toStdString(), ColumnCaption(4));
    EXPECT_EQ(list->item(10)->checkState(), Qt::Unchecked);
    for (QPushButton* button : {dialog.UpButton(), dialog.DownButton(), dialog.ShowButton(), dialog.HideButton()})
        EXPECT_FALSE(button->isEnabled());

    list->setCurrentRow(0);  // the name column
    EXPECT_FALSE(dialog.UpButton()->isEnabled());
    EXPECT_TRUE(dialog.DownButton()->isEnabled());
    EXPECT_FALSE(dialog.ShowButton()->isEnabled());
    EXPECT_FALSE(dialog.HideButton()->isEnabled());
    EXPECT_EQ(dialog.WidthField()->text(), "98");
    list->item(0)->setCheckState(Qt::Unchecked);  // refused
    EXPECT_EQ(list->item(0)->checkState(), Qt::Checked);

    list->setCurrentRow(10);
    EXPECT_TRUE(dialog.UpButton()->isEnabled());
    EXPECT_FALSE(dialog.DownButton()->isEnabled());
    EXPECT_TRUE(dialog.ShowButton()->isEnabled());
    dialog.ShowSelected();
    EXPECT_EQ(list->item(10)->checkState(), Qt::Checked);
    EXPECT_TRUE(dialog.HideButton()->isEnabled());
}

TEST(ColumnDialog, OkGivesShownColumnsInTheChosenOrderThenHiddenOnesWithTheirWidths) {
    CViewItemInfoList columns;
    CColumnDialog dialog(columns);
    QListWidget* list = dialog.List();
    list->setCurrentRow(3);
    dialog.WidthField()->setText("150");
    dialog.MoveUp();  // the width typed goes with the row
    dialog.MoveUp();
    EXPECT_EQ(list->currentRow(), 1);
    EXPECT_EQ(list->item(1)->text().toStdString(), ColumnCaption(3));
    list->setCurrentRow(5);
    dialog.WidthField()->setText("-7");  // the field takes no sign: nothing typed
    dialog.HideSelected();
    list->item(2)->setCheckState(Qt::Unchecked);  // column 1, by its tick
    list->setCurrentRow(0);
    dialog.WidthField()->clear();  // an empty field leaves a row it is left by alone
    list->setCurrentRow(6);
    dialog.WidthField()->setText("70");
    Ok(dialog);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    const CViewItemInfoList& result = dialog.Result();
    EXPECT_EQ(Order(result), (std::vector<int>{0, 3, 2, 4, 6, 7, 8, 9, 10, 1, 5}));
    EXPECT_EQ(result.VisibleColumns(), (std::vector<int>{0, 3, 2, 4, 6, 7, 8, 9, 10}));
    EXPECT_EQ(result.ByColumn(3)->width, 150);
    EXPECT_EQ(result.ByColumn(0)->width, 98);
    EXPECT_EQ(result.ByColumn(6)->width, 70);
}

TEST(ColumnDialog, OkWithAnEmptyWidthGivesTheSelectedColumnWidthZero) {
    CViewItemInfoList columns;
    CColumnDialog unchanged(columns);
    Ok(unchanged);
    EXPECT_EQ(unchanged.Result(), columns);  // nothing for the view to write

    CColumnDialog dialog(columns);
    dialog.List()->setCurrentRow(2);
    dialog.WidthField()->clear();
    Ok(dialog);
    EXPECT_EQ(dialog.Result().ByColumn(2)->width, 0);
}

TEST(SortDialog, OffersTheShownColumnsAndReturnsTheChosenKeyAndOrder) {
    CViewItemInfoList columns;
    columns.SetVisible(2, false, false);
    columns.SetVisible(9, false, false);
    CViewSortInfo sort;
    sort.listSort = 6;
    sort.listSortOrder = 1;
    CSortDialog dialog(columns, sort);
    ASSERT_EQ(dialog.KeyList()->count(), 9);
    EXPECT_EQ(dialog.KeyList()->itemText(2).toStdString(), ColumnCaption(3));  // column-number order
    EXPECT_EQ(dialog.KeyList()->currentText().toStdString(), ColumnCaption(6));
    EXPECT_TRUE(dialog.DescendingButton()->isChecked());
    dialog.KeyList()->setCurrentIndex(dialog.KeyList()->findText(QString::fromStdString(ColumnCaption(10))));
    dialog.AscendingButton()->click();
    Ok(dialog);
    EXPECT_EQ(dialog.Result().listSort, 10);
    EXPECT_EQ(dialog.Result().listSortOrder, 0);

    sort.listSort = 9;  // hidden: the first entry
    CSortDialog hidden(columns, sort);
    EXPECT_EQ(hidden.KeyList()->currentIndex(), 0);
    EXPECT_EQ(hidden.Result().listSort, 0);
}
