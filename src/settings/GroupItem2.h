#pragma once
// CGroupItem2: a named group, shown as a tab. Its members are records owned
// by the All group; removing or clearing only unlinks them. Stored as section
// "Group<n>": the name, and value m holding the entries of members 0..m, each
// entry the group's name and the member's stored form (counted). Owned by the
// main view's group list; user-interface thread only.
#include "settings/GroupItem.h"

class CGroupItem2 : public CGroupItem {
public:
    using CGroupItem::CGroupItem;
    ~CGroupItem2() override;

    // Reads group section index and links the members found in source (the
    // All group), by MAC address, else by IP address; unknown or unreadable
    // entries are skipped. -1 only without a source.
    int Load(int index, CGroupItem* source) override;
    // Writes the name and the cumulative entries in one change of the file;
    // -1 when the file could not be written.
    int Save(int index) override;
    // Unlinks the member that is record, or else the first whose non-empty
    // MAC address equals record's: 1; 0 when none; -1 for none given.
    int Remove(CProjectorInfo* record) override;
    int RemoveAt(int n) override;
    void Clear() override;

    // Becomes a copy of other: its name and its non-null members, in order.
    void CopyGroupFrom(const CGroupItem& other);
    // Links a record owned by the All group.
    void Add(CProjectorInfo* record);
};
