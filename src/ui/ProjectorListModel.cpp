#include "ui/ProjectorListModel.h"

#include <algorithm>

#include "comm/ProjectorInfo.h"
#include "ui/ListColumns.h"

namespace {

const QList<int> kChangedRoles = {Qt::DisplayRole, Qt::DecorationRole, Qt::ToolTipRole,
                                  Qt::AccessibleDescriptionRole};

QString ToQString(const std::string& text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }

}  // namespace

CProjectorListModel::CProjectorListModel(QObject* parent) : QAbstractTableModel(parent) {}

void CProjectorListModel::SetRecords(const std::vector<CProjectorInfo*>& records) {
    beginResetModel();
    m_rows.clear();
    m_rowOf.clear();
    // One row per record, so that the index and the rows stay one to one.
    for (CProjectorInfo* record : records)
        if (record && m_rowOf.emplace(record, int(m_rows.size())).second)
            m_rows.push_back(record);
    endResetModel();
}

void CProjectorListModel::SetColumns(const std::vector<int>& columns) {
    beginResetModel();
    m_columns = columns;
    endResetModel();
}

void CProjectorListModel::AppendRecord(CProjectorInfo* record) {
    if (!record || RowOf(record) >= 0)
        return;
    const int row = int(m_rows.size());
    beginInsertRows({}, row, row);
    m_rows.push_back(record);
    m_rowOf[record] = row;
    endInsertRows();
}

void CProjectorListModel::Sort(int key, bool descending) {
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const std::vector<CProjectorInfo*> before = m_rows;
    SortRecords(m_rows, key, descending);
    RebuildIndex();
    const QModelIndexList from = persistentIndexList();
    QModelIndexList to;
    to.reserve(from.size());
    for (const QModelIndex& index : from)
        to.append(index.isValid() ? this->index(m_rowOf[before[index.row()]], index.column()) : QModelIndex());
    changePersistentIndexList(from, to);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void CProjectorListModel::SetSortMarker(int column, bool descending) {
    m_markerColumn = column;
    m_markerDescending = descending;
    if (!m_columns.empty())
        emit headerDataChanged(Qt::Horizontal, 0, int(m_columns.size()) - 1);
}

void CProjectorListModel::RecordChanged(const CProjectorInfo* record) {
    if (RowOf(record) < 0)
        return;
    m_changed.push_back(record);
    if (m_flushQueued)
        return;
    m_flushQueued = true;
    QMetaObject::invokeMethod(this, &CProjectorListModel::FlushChanges, Qt::QueuedConnection);
}

// Rows are looked up only now, so a sort or an append in between does not
// send the repaint to the wrong row.
void CProjectorListModel::FlushChanges() {
    m_flushQueued = false;
    std::vector<int> rows;
    rows.reserve(m_changed.size());
    for (const CProjectorInfo* record : m_changed)
        if (const int row = RowOf(record); row >= 0)
            rows.push_back(row);
    m_changed.clear();
    if (rows.empty() || m_columns.empty())
        return;
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    // One signal per run of adjacent rows, never one span over all of them:
    // the list repaints what a signal covers on screen, and the rows a full
    // refresh changes lie all over the fleet, most of them scrolled away.
    int first = rows.front();
    int last = first;
    for (int row : rows) {
        if (row > last + 1) {
            EmitRowRange(first, last);
            first = row;
        }
        last = row;
    }
    EmitRowRange(first, last);
}

void CProjectorListModel::EmitRowRange(int first, int last) {
    emit dataChanged(index(first, 0), index(last, int(m_columns.size()) - 1), kChangedRoles);
}

CProjectorInfo* CProjectorListModel::RecordAt(int row) const {
    return row >= 0 && row < int(m_rows.size()) ? m_rows[std::size_t(row)] : nullptr;
}

int CProjectorListModel::RowOf(const CProjectorInfo* record) const {
    auto it = m_rowOf.find(record);
    return it == m_rowOf.end() ? -1 : it->second;
}

int CProjectorListModel::ColumnAt(int index) const {
    return index >= 0 && index < int(m_columns.size()) ? m_columns[std::size_t(index)] : -1;
}

int CProjectorListModel::IndexOfColumn(int column) const {
    auto it = std::find(m_columns.begin(), m_columns.end(), column);
    return it == m_columns.end() ? -1 : int(it - m_columns.begin());
}

int CProjectorListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_rows.size());
}

int CProjectorListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant CProjectorListModel::data(const QModelIndex& index, int role) const {
    const CProjectorInfo* record = index.isValid() ? RecordAt(index.row()) : nullptr;
    const int column = index.isValid() ? ColumnAt(index.column()) : -1;
    if (!record || column < 0)
        return {};
    // The row's icon, and the state it pictures in words, go with the first
    // shown column, whichever that is.
    const bool iconColumn = index.column() == 0;
    switch (role) {
    case Qt::DisplayRole:
        return ToQString(CellText(column, *record));
    case Qt::DecorationRole:
        return iconColumn ? QVariant(m_icons.Row(record->DisplayState())) : QVariant();
    case Qt::ToolTipRole:
    case Qt::AccessibleDescriptionRole:
        return iconColumn ? QVariant(CListIcons::StateText(record->DisplayState())) : QVariant();
    default:
        return {};
    }
}

QVariant CProjectorListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal)
        return QAbstractTableModel::headerData(section, orientation, role);
    const int column = ColumnAt(section);
    if (column < 0)
        return {};
    if (role == Qt::DisplayRole)
        return ToQString(ColumnCaption(column));
    if (role == Qt::DecorationRole && column == m_markerColumn)
        return m_icons.SortMarker(m_markerDescending);
    return {};
}

Qt::ItemFlags CProjectorListModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren : Qt::NoItemFlags;
}

void CProjectorListModel::RebuildIndex() {
    m_rowOf.clear();
    m_rowOf.reserve(m_rows.size());
    for (std::size_t row = 0; row < m_rows.size(); ++row)
        m_rowOf.emplace(m_rows[row], int(row));
}
