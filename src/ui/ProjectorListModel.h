#pragma once
// CProjectorListModel: the rows of the projector list, one per record of the
// shown group, and its columns, the visible column numbers in display order
// (model column k shows the k-th visible column). Every cell's text and icon
// is computed on demand from the record; nothing is copied. A record-to-row
// index lets an update find its row at once, and the updates of one
// event-loop turn reach the views together, once. Rows never move on an
// update, only when sorted. Owned by the list window; it does not own the
// records (the All group does).
#include <unordered_map>
#include <vector>

#include <QAbstractTableModel>

#include "ui/ListIcons.h"

class CProjectorInfo;

class CProjectorListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit CProjectorListModel(QObject* parent = nullptr);

    // The records in the order given (the group's); null ones and repeats are
    // left out.
    void SetRecords(const std::vector<CProjectorInfo*>& records);
    // The visible column numbers in display order.
    void SetColumns(const std::vector<int>& columns);
    // Appends a record's row at the end, unsorted; nothing if already listed.
    void AppendRecord(CProjectorInfo* record);
    // Orders the rows by key column; selections and other persistent indexes
    // follow their records.
    void Sort(int key, bool descending);
    // The header of column number column shows the sort marker; -1: none.
    void SetSortMarker(int column, bool descending);

    // The record's values changed: its row is repainted at the end of this
    // event-loop turn, together with every other row changed meanwhile. The
    // record is only looked up, never read, so a stale one does no harm.
    void RecordChanged(const CProjectorInfo* record);

    CProjectorInfo* RecordAt(int row) const;
    int RowOf(const CProjectorInfo* record) const;  // -1 when not listed
    int ColumnAt(int index) const;                   // column number, -1 when none
    int IndexOfColumn(int column) const;             // model column, -1 when not shown
    const std::vector<int>& Columns() const { return m_columns; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    void RebuildIndex();
    void FlushChanges();
    void EmitRowRange(int first, int last);

    std::vector<CProjectorInfo*> m_rows;
    std::unordered_map<const CProjectorInfo*, int> m_rowOf;
    std::vector<int> m_columns;
    std::vector<const CProjectorInfo*> m_changed;
    bool m_flushQueued = false;
    int m_markerColumn = -1;
    bool m_markerDescending = false;
    CListIcons m_icons;
};
