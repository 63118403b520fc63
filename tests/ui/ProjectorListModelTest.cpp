#include <set>

#include <QSignalSpy>
#include <gtest/gtest.h>

#include "UiTestSupport.h"
#include "platform/ResourceText.h"
#include "ui/ListColumns.h"
#include "ui/ListIcons.h"
#include "ui/ProjectorListModel.h"
#include "ui/UiDefs.h"

namespace {

class ListModelTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (int i = 0; i < 5; ++i)
            m_records.push_back(Record("PJ" + std::to_string(4 - i), "10.0.0." + std::to_string(i)));
        std::vector<CProjectorInfo*> rows;
        for (auto& record : m_records)
            rows.push_back(&record);
        m_model.SetColumns({3, 0, 1});
        m_model.SetRecords(rows);
    }
    QString Text(int row, int column) const { return m_model.data(m_model.index(row, column), Qt::DisplayRole).toString(); }
    QVariant Data(int row, int column, int role) const { return m_model.data(m_model.index(row, column), role); }

    std::vector<CProjectorInfo> m_records;
    CProjectorListModel m_model;
};

QImage IconImage(const QIcon& icon, qreal scale) {
    return icon.pixmap(QSize(ROW_ICON_SIZE, ROW_ICON_SIZE), scale).toImage();
}

}  // namespace

TEST_F(ListModelTest, ColumnsAreTheShownColumnNumbersInDisplayOrder) {
    EXPECT_EQ(m_model.columnCount(), 3);
    EXPECT_EQ(m_model.rowCount(), 5);
    m_records[2].status = STATUS_NORMAL;
    EXPECT_EQ(Text(2, 0).toStdString(), ResourceText(5000));
    EXPECT_EQ(Text(2, 1), "PJ2");
    EXPECT_EQ(Text(2, 2), "10.0.0.2");
    EXPECT_EQ(m_model.headerData(1, Qt::Horizontal, Qt::DisplayRole).toString().toStdString(), ColumnCaption(0));
    EXPECT_EQ(m_model.ColumnAt(2), 1);
    EXPECT_EQ(m_model.IndexOfColumn(3), 0);
    EXPECT_EQ(m_model.IndexOfColumn(7), -1);
    EXPECT_FALSE(Data(9, 0, Qt::DisplayRole).isValid());
    m_records[2].name = "renamed";  // nothing copied: the cell follows the record
    EXPECT_EQ(Text(2, 1), "renamed");
}

TEST_F(ListModelTest, FirstShownColumnCarriesTheStateIconAndItsText) {
    CProjectorInfo& r = m_records[0];
    r.status = STATUS_NORMAL;
    r.power = POWER_STANDBY;
    ASSERT_EQ(r.DisplayState(), DISPLAY_STANDBY);
    const QIcon icon = Data(0, 0, Qt::DecorationRole).value<QIcon>();
    EXPECT_FALSE(icon.isNull());
    EXPECT_EQ(IconImage(icon, 1.0), IconImage(CListIcons().Row(DISPLAY_STANDBY), 1.0));
    EXPECT_EQ(Data(0, 0, Qt::ToolTipRole).toString().toStdString(), ResourceText(IDS_ROW_STATE_FIRST + 1));
    EXPECT_EQ(Data(0, 0, Qt::AccessibleDescriptionRole), Data(0, 0, Qt::ToolTipRole));
    EXPECT_FALSE(Data(0, 1, Qt::DecorationRole).isValid());
    EXPECT_FALSE(Data(0, 1, Qt::ToolTipRole).isValid());
}

TEST(ListIcons, SixDistinctRowIconsSharpAtDoubleScale) {
    CListIcons icons;
    std::set<QByteArray> seen;
    for (int state = 0; state < ROW_ICON_COUNT; ++state) {
        const QImage normal = IconImage(icons.Row(state), 1.0);
        const QImage doubled = IconImage(icons.Row(state), 2.0);
        EXPECT_EQ(normal.size(), QSize(18, 18));
        EXPECT_EQ(doubled.size(), QSize(36, 36)) << "state " << state;
        seen.insert(QByteArray(reinterpret_cast<const char*>(normal.constBits()), normal.sizeInBytes()));
        EXPECT_FALSE(CListIcons::StateText(state).isEmpty());
        // Not tinted on the selected row, where the highlight would swallow it.
        EXPECT_EQ(icons.Row(state).pixmap(QSize(18, 18), 1.0, QIcon::Selected).toImage(), normal);
    }
    EXPECT_EQ(seen.size(), 6u);
    EXPECT_EQ(IconImage(icons.Row(99), 1.0), IconImage(icons.Row(DISPLAY_UNKNOWN), 1.0));
    EXPECT_NE(icons.SortMarker(false).pixmap(QSize(12, 12), 2.0).toImage(),
              icons.SortMarker(true).pixmap(QSize(12, 12), 2.0).toImage());
    EXPECT_EQ(icons.SortMarker(true).pixmap(QSize(12, 12), 2.0).size(), QSize(24, 24));
}

TEST_F(ListModelTest, SortMarkerOnlyOnTheKeyColumnsHeader) {
    m_model.SetSortMarker(0, true);
    EXPECT_FALSE(m_model.headerData(0, Qt::Horizontal, Qt::DecorationRole).isValid());
    EXPECT_TRUE(m_model.headerData(1, Qt::Horizontal, Qt::DecorationRole).isValid());
    m_model.SetSortMarker(7, false);  // not shown: no marker anywhere
    for (int i = 0; i < 3; ++i)
        EXPECT_FALSE(m_model.headerData(i, Qt::Horizontal, Qt::DecorationRole).isValid());
}

TEST_F(ListModelTest, SortMovesRowsAndKeepsPersistentIndexesOnTheirRecords) {
    const QPersistentModelIndex held = m_model.index(1, 2);  // PJ3
    m_model.Sort(COLUMN_NAME, false);
    EXPECT_EQ(Text(0, 1), "PJ0");
    EXPECT_EQ(m_model.RowOf(&m_records[1]), 3);
    EXPECT_EQ(held.row(), 3);
    EXPECT_EQ(held.column(), 2);
    m_model.Sort(COLUMN_NAME, true);
    EXPECT_EQ(Text(0, 1), "PJ4");
    EXPECT_EQ(held.row(), 1);
}

TEST_F(ListModelTest, ManyUpdatesInOneTurnRepaintOnce) {
    std::vector<CProjectorInfo> fleet(1000);
    std::vector<CProjectorInfo*> rows;
    for (auto& record : fleet)
        rows.push_back(&record);
    m_model.SetRecords(rows);
    QSignalSpy changed(&m_model, &QAbstractItemModel::dataChanged);
    for (int round = 0; round < 3; ++round)
        for (auto& record : fleet)
            m_model.RecordChanged(&record);
    EXPECT_EQ(changed.count(), 0);  // nothing before the event loop turns
    DrainEvents();
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed[0][0].toModelIndex(), m_model.index(0, 0));
    EXPECT_EQ(changed[0][1].toModelIndex(), m_model.index(999, 2));
    DrainEvents();
    EXPECT_EQ(changed.count(), 1);
}

TEST_F(ListModelTest, SeparateUpdatesRepaintTheirOwnRowsOnly) {
    QSignalSpy changed(&m_model, &QAbstractItemModel::dataChanged);
    CProjectorInfo stranger;
    m_model.RecordChanged(&m_records[4]);
    m_model.RecordChanged(&m_records[0]);
    m_model.RecordChanged(&m_records[1]);
    m_model.RecordChanged(&stranger);
    m_model.RecordChanged(nullptr);
    DrainEvents();
    ASSERT_EQ(changed.count(), 2);
    EXPECT_EQ(changed[0][0].toModelIndex().row(), 0);
    EXPECT_EQ(changed[0][1].toModelIndex().row(), 1);
    EXPECT_EQ(changed[1][0].toModelIndex().row(), 4);
    EXPECT_EQ(changed[1][1].toModelIndex().row(), 4);
}

TEST_F(ListModelTest, UpdateQueuedBeforeASortRepaintsTheRecordsNewRow) {
    QSignalSpy changed(&m_model, &QAbstractItemModel::dataChanged);
    m_model.RecordChanged(&m_records[0]);  // PJ4, row 0 now, row 4 after the sort
    m_model.Sort(COLUMN_NAME, false);
    DrainEvents();
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed[0][0].toModelIndex().row(), 4);
}

TEST_F(ListModelTest, RepeatedRecordsAreListedOnce) {
    m_model.SetRecords({&m_records[0], nullptr, &m_records[0], &m_records[1]});
    EXPECT_EQ(m_model.rowCount(), 2);
    EXPECT_EQ(m_model.RowOf(&m_records[1]), 1);
}
