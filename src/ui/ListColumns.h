#pragma once
// The eleven columns of the projector list: caption, default width, the text
// of a cell and the sort comparison of two rows, all by column number.
#include <string>

class CProjectorInfo;

int DefaultColumnWidth(int column);
// Resource text 1000 + column.
std::string ColumnCaption(int column);
// The cell text of record in column; "" for an unknown column.
std::string CellText(int column, const CProjectorInfo& record);
// A strict weak ordering of two rows by key column: negative when a comes
// before b ascending, 0 when they are equal for this key, positive after.
// Texts compare byte for byte; lamp hours and life compare as numbers
// (unknown -1 first). Descending is the caller's reversal of unequal pairs.
int CompareRows(int key, const CProjectorInfo& a, const CProjectorInfo& b);
