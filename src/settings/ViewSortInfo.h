#pragma once
// CViewSortInfo: the projector list's sort column and direction. Owned by
// the main view.

class CViewSortInfo {
public:
    virtual ~CViewSortInfo() = default;

    int Load();
    int Save();

    int listSort = 0;       // column identifier 0..10
    int listSortOrder = 0;  // 0 ascending, 1 descending
};
