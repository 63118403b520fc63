// First cut of the column table; the list work completes it.
#include "ui/ListColumns.h"

#include "comm/ProjectorInfo.h"
#include "platform/ResourceText.h"
#include "ui/UiDefs.h"

int DefaultColumnWidth(int column) {
    static const int widths[] = {98, 96, 104, 111, 84, 71, 110, 109, 47, 73, 78};
    return column >= 0 && column < 11 ? widths[column] : 80;
}

std::string ColumnCaption(int column) { return ResourceText(IDS_COLUMN_FIRST + column); }

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

int CompareRows(int, const CProjectorInfo&, const CProjectorInfo&) { return 0; }
