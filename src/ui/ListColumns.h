#pragma once
// The eleven columns of the projector list: caption, default width, the text
// of a cell and the sort order of the rows, all by column number.
#include <string>
#include <vector>

class CProjectorInfo;

// Column numbers whose order is not their text.
constexpr int COLUMN_NAME = 0;
constexpr int COLUMN_LAMP_HOURS = 6;
constexpr int COLUMN_LAMP_LIFE = 7;

int DefaultColumnWidth(int column);
// Resource text 1000 + column.
std::string ColumnCaption(int column);
// The cell text of record in column; "" for an unknown column.
std::string CellText(int column, const CProjectorInfo& record);
// A strict weak ordering of two rows by key column: negative when a comes
// before b ascending, 0 when they are equal for this key, positive after.
// Texts compare byte for byte (so addresses compare as text: 192.168.0.10
// before 192.168.0.9); lamp hours (then minutes) and life compare as numbers,
// unknown -1 first. Every row is equal under an unknown key.
int CompareRows(int key, const CProjectorInfo& a, const CProjectorInfo& b);
// Sorts rows by key with CompareRows, stably: rows with equal keys keep their
// order (the group's) both ascending and descending.
void SortRecords(std::vector<CProjectorInfo*>& rows, int key, bool descending);
