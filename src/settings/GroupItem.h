#pragma once
// CGroupItem: a group of projectors. A plain CGroupItem is the All group: it
// owns every projector record and deletes the records it lets go. Its stored
// form is section "All": one value per record. CGroupItem2 (named groups)
// refers to records owned here. Owned by the main view's group list; used on
// the user-interface thread only.
#include <string>
#include <vector>

#include "comm/ProjectorInfo.h"

class CGroupItem {
public:
    CGroupItem() = default;
    explicit CGroupItem(std::string name) : m_name(std::move(name)) {}
    virtual ~CGroupItem();
    CGroupItem(const CGroupItem&) = delete;
    CGroupItem& operator=(const CGroupItem&) = delete;

    // Reads group section index (ALL_GROUP_INDEX for "All"); source is not
    // used here. -1 when a stored record cannot be read: the records read
    // before it stay, and LoadError() says which value it was.
    virtual int Load(int index, CGroupItem* source);
    // Writes the members' stored forms in order, in one change of the file.
    // -1 when the file could not be written.
    virtual int Save(int index);
    // Deletes the member that is record, or else the first whose identity
    // and polled values equal record's: 1; 0 when none; -1 for none given.
    virtual int Remove(CProjectorInfo* record);
    // Deletes the n-th member: 1; 0 when n is out of range.
    virtual int RemoveAt(int n);
    virtual void Clear();

    int Contains(const CProjectorInfo* record) const;
    CProjectorInfo* GetAt(int n) const;
    int GetCount() const { return int(m_members.size()); }
    CProjectorInfo* FindByAddress(const std::string& ipText) const;
    CProjectorInfo* FindByMac(const std::string& mac) const;
    // Appends a full copy of record (login included), given back in out.
    int AddCopy(const CProjectorInfo& record, CProjectorInfo** out);

    const std::string& Name() const { return m_name; }
    void SetName(std::string name) { m_name = std::move(name); }
    const std::string& LoadError() const { return m_loadError; }

protected:
    int StoredCount(int index) const;

    std::string m_name;
    std::vector<CProjectorInfo*> m_members;
    std::string m_loadError;
};
