#include "settings/ViewSortInfo.h"

#include "settings/ProfileStore.h"
#include "settings/Value.h"

int CViewSortInfo::Load() {
    CValue value;
    listSort = value.GetListSort();
    listSortOrder = value.GetListSortOrder();
    return 0;
}

int CViewSortInfo::Save() {
    CValue value;
    CProfileBatch batch(value.Store());
    value.SetListSort(listSort);
    value.SetListSortOrder(listSortOrder);
    return 0;
}
