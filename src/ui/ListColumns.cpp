#include "ui/ListColumns.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "comm/ProjectorInfo.h"
#include "platform/ResourceText.h"
#include "ui/UiDefs.h"
#include "ui/ViewItemInfoList.h"

namespace {

// What a row sorts by under one key, worked out once per row so that a sort
// does not look texts up again for every comparison.
struct SortKey {
    std::int64_t number = 0;
    std::int64_t minutes = 0;
    std::string text;
};

SortKey KeyOf(int key, const CProjectorInfo& r) {
    if (key == COLUMN_LAMP_HOURS)
        return {r.lampHours, r.lampMinutes, {}};
    if (key == COLUMN_LAMP_LIFE)
        return {r.lampLife, 0, {}};
    return {0, 0, CellText(key, r)};
}

int Compare(const SortKey& a, const SortKey& b) {
    if (a.number != b.number)
        return a.number < b.number ? -1 : 1;
    if (a.minutes != b.minutes)
        return a.minutes < b.minutes ? -1 : 1;
    // std::string compares as unsigned bytes: UTF-8 code order.
    const int c = a.text.compare(b.text);
    return c < 0 ? -1 : c > 0 ? 1 : 0;
}

}  // namespace

int DefaultColumnWidth(int column) {
    static const int widths[LIST_COLUMN_COUNT] = {98, 96, 104, 111, 84, 71, 110, 109, 47, 73, 78};
    return column >= 0 && column < LIST_COLUMN_COUNT ? widths[column] : 80;
}

std::string ColumnCaption(int column) {
    return column >= 0 && column < LIST_COLUMN_COUNT ? ResourceText(IDS_COLUMN_FIRST + column) : std::string();
}

std::string CellText(int column, const CProjectorInfo& r) {
    switch (column) {
    case 0: return r.name;
    case 1: return r.ipAddress;
    case 2: return r.macAddress;
    case 3: return r.StatusText();
    case 4: return r.model;
    case 5: return r.LampText();
    case 6: return r.HoursText();
    case 7: return r.LifeText();
    case 8: return r.InputText();
    case 9: return r.inputSignal;
    case 10: return r.serialNumber;
    default: return {};
    }
}

int CompareRows(int key, const CProjectorInfo& a, const CProjectorInfo& b) {
    if (key < 0 || key >= LIST_COLUMN_COUNT)
        return 0;
    return Compare(KeyOf(key, a), KeyOf(key, b));
}

void SortRecords(std::vector<CProjectorInfo*>& rows, int key, bool descending) {
    if (key < 0 || key >= LIST_COLUMN_COUNT)
        return;
    std::vector<std::pair<SortKey, CProjectorInfo*>> keyed;
    keyed.reserve(rows.size());
    for (CProjectorInfo* record : rows)
        keyed.emplace_back(KeyOf(key, *record), record);
    // Descending reverses only unequal pairs, so equal rows stay in group order.
    std::stable_sort(keyed.begin(), keyed.end(), [descending](const auto& x, const auto& y) {
        return descending ? Compare(y.first, x.first) < 0 : Compare(x.first, y.first) < 0;
    });
    for (std::size_t i = 0; i < rows.size(); ++i)
        rows[i] = keyed[i].second;
}
