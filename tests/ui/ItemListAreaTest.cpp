#include <memory>

#include <QAccessible>
#include <QAccessibleTableInterface>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QPaintEvent>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

#include "UiTestSupport.h"
#include "platform/ResourceText.h"
#include "settings/TestProfile.h"
#include "settings/Value.h"
#include "support/ModalDriver.h"
#include "ui/ItemListArea.h"
#include "ui/ListColumns.h"
#include "ui/ListHeader.h"
#include "ui/ProjectorListModel.h"
#include "ui/UiDefs.h"

namespace {

class ListAreaTest : public ::testing::Test {
protected:
    void SetUp() override {
        Fill(m_group, {Record("PJ-C", "10.0.0.3"), Record("PJ-A", "10.0.0.1"), Record("PJ-D", "10.0.0.4"),
                       Record("PJ-B", "10.0.0.2")});
        m_area = std::make_unique<CItemListArea>(&m_columns, &m_view);
        m_area->resize(1200, 400);
        m_area->SetGroup(&m_group);
        m_area->SetSortInfo(&m_sort);
        m_area->Refill();
        m_area->show();
        DrainEvents();
        m_view.messages.clear();
    }

    CProjectorListModel& Model() const { return *m_area->ListModel(); }
    QHeaderView& Header() const { return *m_area->ListView()->horizontalHeader(); }
    std::vector<std::string> Rows() const {
        std::vector<CProjectorInfo*> rows;
        for (int row = 0; row < Model().rowCount(); ++row)
            rows.push_back(Model().RecordAt(row));
        return Names(rows);
    }
    // The header position of column number column.
    QPoint HeaderPoint(int column, int fromRight = -1) const {
        const int logical = Model().IndexOfColumn(column);
        const int x = Header().sectionViewportPosition(logical) +
                      (fromRight < 0 ? Header().sectionSize(logical) / 2 : Header().sectionSize(logical) - fromRight);
        return {x, Header().height() / 2};
    }
    QPoint RowPoint(int row) const {
        return m_area->ListView()->visualRect(Model().index(row, 1)).center();
    }
    void ClickHeader(int column) {
        QTest::mouseClick(Header().viewport(), Qt::LeftButton, {}, HeaderPoint(column));
    }

    CGroupItem m_group;
    CViewItemInfoList m_columns;
    CViewSortInfo m_sort;
    CMessageRecorder m_view;
    std::unique_ptr<CItemListArea> m_area;
};

using NameList = std::vector<std::string>;

}  // namespace

TEST_F(ListAreaTest, RefillListsTheGroupSortedByNameAndFoundProjectorsJoinAtTheEnd) {
    EXPECT_EQ(Rows(), (NameList{"PJ-A", "PJ-B", "PJ-C", "PJ-D"}));
    EXPECT_EQ(Model().Columns(), m_columns.VisibleColumns());
    EXPECT_EQ(Header().sectionSize(Model().IndexOfColumn(2)), 104);
    EXPECT_TRUE(Model().headerData(0, Qt::Horizontal, Qt::DecorationRole).isValid());
    // A found projector joins at the end, unsorted; an unknown address adds nothing.
    m_group.AddCopy(Record("AAA", "10.0.0.9"), nullptr);
    m_area->AddRow("10.0.0.9");
    m_area->AddRow("10.9.9.9");
    EXPECT_EQ(Rows(), (NameList{"PJ-A", "PJ-B", "PJ-C", "PJ-D", "AAA"}));
}

TEST_F(ListAreaTest, RefillReselectsTheSameProjectorWhereverItMoved) {
    m_area->ListView()->selectRow(1);  // PJ-B
    CProjectorInfo* chosen = m_area->SelectedRecord();
    ASSERT_EQ(chosen->name, "PJ-B");
    CProjectorInfo* added = nullptr;
    m_group.AddCopy(Record("PJ-0"), &added);  // sorts first: PJ-B moves down a row
    DrainEvents();
    m_view.messages.clear();
    m_area->Refill();
    EXPECT_EQ(m_area->SelectedRecord(), chosen);
    DrainEvents();
    EXPECT_EQ(m_view.Count(WM_LIST_SELCHANGED), 0);

    m_group.Remove(chosen);  // the view refills after deleting a projector
    m_area->Refill();
    EXPECT_EQ(m_area->SelectedRecord(), nullptr);  // not whoever sits at row 2 now
    EXPECT_FALSE(m_area->ListView()->selectionModel()->hasSelection());
    EXPECT_TRUE(m_view.WaitFor(WM_LIST_SELCHANGED));
}

TEST_F(ListAreaTest, HeaderClicksSortThenFlipAndAnotherColumnSortsAscending) {
    m_area->ListView()->selectRow(0);
    CProjectorInfo* chosen = m_area->SelectedRecord();  // PJ-A
    m_group.GetAt(0)->lampHours = 5;  // PJ-C
    m_group.GetAt(3)->lampHours = 7;  // PJ-B
    ClickHeader(COLUMN_LAMP_HOURS);
    EXPECT_EQ(m_sort.listSort, COLUMN_LAMP_HOURS);
    EXPECT_EQ(m_sort.listSortOrder, 0);
    EXPECT_EQ(Rows(), (NameList{"PJ-A", "PJ-D", "PJ-C", "PJ-B"}));  // unknown first, in group order
    ClickHeader(COLUMN_LAMP_HOURS);
    EXPECT_EQ(m_sort.listSortOrder, 1);
    EXPECT_EQ(Rows(), (NameList{"PJ-B", "PJ-C", "PJ-A", "PJ-D"}));
    EXPECT_EQ(m_area->SelectedRecord(), chosen);  // the selection moved with its projector
    EXPECT_TRUE(Model().headerData(Model().IndexOfColumn(COLUMN_LAMP_HOURS), Qt::Horizontal, Qt::DecorationRole)
                    .isValid());
    ClickHeader(1);
    EXPECT_EQ(m_sort.listSort, 1);
    EXPECT_EQ(m_sort.listSortOrder, 0);
    EXPECT_EQ(Rows(), (NameList{"PJ-A", "PJ-B", "PJ-C", "PJ-D"}));
}

TEST_F(ListAreaTest, HiddenKeyColumnFallsBackToTheNameInMemory) {
    m_sort.listSort = 4;
    m_sort.listSortOrder = 1;
    m_columns.SetVisible(4, false, false);
    m_area->RebuildColumns();
    EXPECT_EQ(m_sort.listSort, COLUMN_NAME);
    EXPECT_EQ(Rows(), (NameList{"PJ-D", "PJ-C", "PJ-B", "PJ-A"}));
    EXPECT_TRUE(Model().headerData(Model().IndexOfColumn(COLUMN_NAME), Qt::Horizontal, Qt::DecorationRole).isValid());
    m_sort.listSort = 99;  // a damaged stored key
    m_area->ApplySort();
    EXPECT_EQ(m_sort.listSort, COLUMN_NAME);
}

TEST_F(ListAreaTest, HeaderDragReordersTheColumnsByNumberEvenWithoutCaptions) {
    UnloadResourceBundle();  // every caption empty: only the numbers tell columns apart
    m_columns.SetVisible(2, false, false);
    m_area->RebuildColumns();
    Header().resizeSection(Model().IndexOfColumn(4), 150);
    Header().moveSection(0, 3);  // the name column to the fourth place
    EXPECT_TRUE(RunEventsUntil([&] { return Model().ColumnAt(3) == 0; }, 5000));
    EXPECT_EQ(Model().Columns(), (std::vector<int>{1, 3, 4, 0, 5, 6, 7, 8, 9, 10}));
    EXPECT_EQ(m_columns.VisibleColumns(), Model().Columns());
    EXPECT_EQ(m_columns.At(10)->column, 2);  // the hidden one stays behind
    EXPECT_EQ(Header().logicalIndex(3), 3);
    EXPECT_EQ(m_columns.ByColumn(4)->width, 150);
    EXPECT_EQ(Header().sectionSize(2), 150);
    LoadResourceBundle();
}

TEST_F(ListAreaTest, DividerDragAndDoubleClickStoreTheWidthByNumber) {
    Header().resizeSection(Model().IndexOfColumn(5), 33);
    EXPECT_EQ(m_columns.ByColumn(5)->width, 33);
    m_group.GetAt(1)->model = "A MODEL NAME FAR WIDER THAN THE COLUMN";
    m_area->RedrawRecord(m_group.GetAt(1));
    QTest::mouseDClick(Header().viewport(), Qt::LeftButton, {}, HeaderPoint(4, 1));
    const int fitted = Header().sectionSize(Model().IndexOfColumn(4));
    EXPECT_GT(fitted, 84);
    EXPECT_EQ(m_columns.ByColumn(4)->width, fitted);
}

TEST_F(ListAreaTest, ClosingTheListHarvestsWidthsAndOrder) {
    Header().moveSection(Header().visualIndex(Model().IndexOfColumn(10)), 0);
    Header().resizeSection(Model().IndexOfColumn(1), 61);
    m_area.reset();  // before the queued move is handled
    EXPECT_EQ(m_columns.At(0)->column, 10);
    EXPECT_EQ(m_columns.ByColumn(1)->width, 61);
}

TEST_F(ListAreaTest, RebuildKeepsSelectionAndScrollPosition) {
    for (int i = 0; i < 200; ++i)
        m_group.AddCopy(Record("PJ-Z" + std::to_string(1000 + i)), nullptr);
    m_area->Refill();
    m_area->ListView()->selectRow(150);
    CProjectorInfo* chosen = m_area->SelectedRecord();
    m_area->ListView()->verticalScrollBar()->setValue(120);
    m_columns.SetVisible(3, false, false);
    m_area->RebuildColumns();
    EXPECT_EQ(m_area->SelectedRecord(), chosen);
    EXPECT_EQ(m_area->ListView()->verticalScrollBar()->value(), 120);
    EXPECT_EQ(Model().IndexOfColumn(3), -1);
}

TEST_F(ListAreaTest, SelectionAndDoubleClickAreTheViewsToKnow) {
    QWidget* rows = m_area->ListView()->viewport();
    QTest::mouseClick(rows, Qt::LeftButton, {}, RowPoint(2));
    EXPECT_EQ(m_area->SelectedRecord()->name, "PJ-C");
    EXPECT_TRUE(m_view.WaitFor(WM_LIST_SELCHANGED));
    QTest::mouseDClick(rows, Qt::LeftButton, {}, RowPoint(2));
    EXPECT_TRUE(m_view.WaitFor(WM_LIST_DBLCLK));
    m_area->ClearSelection();
    EXPECT_EQ(m_area->SelectedRecord(), nullptr);
}

TEST_F(ListAreaTest, RightClickSelectsTheRowUnderThePointerOrNone) {
    QWidget* rows = m_area->ListView()->viewport();
    QContextMenuEvent onRow(QContextMenuEvent::Mouse, RowPoint(3), rows->mapToGlobal(RowPoint(3)));
    QCoreApplication::sendEvent(rows, &onRow);
    EXPECT_EQ(m_area->SelectedRecord()->name, "PJ-D");
    const QPoint below(10, rows->height() - 5);
    QContextMenuEvent offRows(QContextMenuEvent::Mouse, below, rows->mapToGlobal(below));
    QCoreApplication::sendEvent(rows, &offRows);
    EXPECT_EQ(m_area->SelectedRecord(), nullptr);
}

namespace {
class CPaintCounter : public QObject {
public:
    int paints = 0;
    QRegion painted;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++paints;
            painted += static_cast<QPaintEvent*>(event)->region();
        }
        return false;
    }
};
}  // namespace

TEST_F(ListAreaTest, UpdatesRepaintOnlyTheChangedRowsOnScreen) {
    for (int i = 0; i < 300; ++i)
        m_group.AddCopy(Record("PJ-Z" + std::to_string(1000 + i)), nullptr);
    m_area->Refill();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(m_area.get()));
    QWidget* rows = m_area->ListView()->viewport();
    rows->repaint();  // nothing of the refill left to paint
    DrainEvents();
    CPaintCounter counter;
    rows->installEventFilter(&counter);
    // Rows scrolled away and one on screen, all in one turn.
    m_area->RedrawRecord(Model().RecordAt(250));
    m_area->RedrawRecord(Model().RecordAt(2));
    m_area->RedrawRecord(Model().RecordAt(290));
    EXPECT_TRUE(RunEventsUntil([&] { return counter.paints > 0; }, 5000));
    const QRect row2 = m_area->ListView()->visualRect(Model().index(2, 0));
    EXPECT_TRUE(counter.painted.contains(row2));
    EXPECT_FALSE(counter.painted.intersects(m_area->ListView()->visualRect(Model().index(5, 0))));
}

TEST_F(ListAreaTest, AssistiveTechnologyReadsCellsHeadersAndTheRowState) {
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(m_area->ListView());
    ASSERT_NE(list, nullptr);
    QAccessibleTableInterface* table = list->tableInterface();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->columnCount(), 11);
    EXPECT_EQ(table->rowCount(), 4);
    EXPECT_EQ(table->columnDescription(1).toStdString(), ColumnCaption(1));
    QAccessibleInterface* name = table->cellAt(0, 0);
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(name->text(QAccessible::Name), "PJ-A");
    EXPECT_EQ(name->text(QAccessible::Description).toStdString(), ResourceText(IDS_ROW_STATE_FIRST + DISPLAY_UNKNOWN));
    EXPECT_EQ(table->cellAt(0, 1)->text(QAccessible::Name), "10.0.0.1");
}

namespace {

// Opens the header's menu over column number column, as a right-click does.
void RightClickHeader(QHeaderView& header, int x) {
    const QPoint at(x, header.height() / 2);
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, header.viewport()->mapToGlobal(at));
    QCoreApplication::sendEvent(header.viewport(), &event);
}

// Chooses the menu item of column number column.
CModalDriver::Handler Choose(int column, std::vector<std::pair<bool, bool>>* seen = nullptr) {
    return [column, seen](QWidget* window) {
        auto* menu = qobject_cast<QMenu*>(window);
        ASSERT_NE(menu, nullptr);
        ASSERT_EQ(menu->actions().size(), LIST_COLUMN_COUNT);
        if (seen)
            for (QAction* action : menu->actions())
                seen->push_back({action->isChecked(), action->isEnabled()});
        QAction* action = menu->actions().at(column);
        EXPECT_EQ(action->text().toStdString(), ColumnCaption(column));
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
    };
}

}  // namespace

TEST_F(ListAreaTest, HeaderMenuTicksTheShownColumnsAndTogglesTheChosenOne) {
    m_columns.SetVisible(9, false, false);
    m_area->RebuildColumns();
    std::vector<std::pair<bool, bool>> seen;
    {
        CModalDriver driver;
        driver.Then(Choose(3, &seen));
        RightClickHeader(Header(), 10);
    }
    ASSERT_EQ(seen.size(), std::size_t(LIST_COLUMN_COUNT));
    EXPECT_EQ(seen[0], std::make_pair(true, false));  // the name: ticked and greyed
    EXPECT_EQ(seen[9], std::make_pair(false, true));
    EXPECT_EQ(seen[10], std::make_pair(true, true));
    // Hiding moves the column behind the shown ones; showing puts it back.
    EXPECT_EQ(Model().IndexOfColumn(3), -1);
    EXPECT_EQ(m_columns.At(9)->column, 3);
    {
        CModalDriver driver;
        driver.Then(Choose(3));
        RightClickHeader(Header(), 10);
    }
    EXPECT_EQ(Model().Columns(), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 10}));
    m_area->ToggleColumn(COLUMN_NAME);  // the name column stays
    EXPECT_EQ(Model().IndexOfColumn(COLUMN_NAME), 0);
}

TEST_F(ListAreaTest, HidingTheKeyColumnFromTheMenuMovesTheMarkerToTheName) {
    ClickHeader(4);
    ASSERT_EQ(m_sort.listSort, 4);
    m_area->ToggleColumn(4);
    EXPECT_EQ(m_sort.listSort, COLUMN_NAME);
    EXPECT_TRUE(Model().headerData(Model().IndexOfColumn(COLUMN_NAME), Qt::Horizontal, Qt::DecorationRole).isValid());
}

using ListWidthTest = ProfileTest;

TEST_F(ListWidthTest, UnstoredWidthsAreWidenedToTheirCaptionsStoredOnesKept) {
    CViewItemInfoList columns;
    ASSERT_EQ(columns.Load(), 0);
    ASSERT_TRUE(columns.WidthsToFit());
    CMessageRecorder view;
    {
        CItemListArea area(&columns, &view);
        const auto* header = static_cast<const CListHeader*>(area.ListView()->horizontalHeader());
        for (int column = 0; column < LIST_COLUMN_COUNT; ++column) {
            const int width = columns.ByColumn(column)->width;
            EXPECT_GE(width, DefaultColumnWidth(column)) << column;
            EXPECT_GE(width, header->SectionWidthFor(QString::fromStdString(ColumnCaption(column)))) << column;
            // Room for the caption itself beside the sort marker.
            const int text = header->fontMetrics().horizontalAdvance(QString::fromStdString(ColumnCaption(column)));
            EXPECT_GE(width, text + SORT_MARKER_SIZE) << column;
        }
        EXPECT_FALSE(columns.WidthsToFit());
    }
    ASSERT_EQ(columns.Save(), 0);
    CValue().SetViewInfoWidth("30,96,104,111,84,71,110,109,47,73,78");
    CViewItemInfoList stored;
    ASSERT_EQ(stored.Load(), 0);
    EXPECT_FALSE(stored.WidthsToFit());
    CItemListArea area(&stored, &view);
    EXPECT_EQ(stored.ByColumn(0)->width, 30);
    EXPECT_EQ(area.ListView()->horizontalHeader()->sectionSize(0), 30);
}
