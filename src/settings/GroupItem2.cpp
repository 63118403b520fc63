#include "settings/GroupItem2.h"

#include <algorithm>

#include "settings/ProfileStore.h"
#include "settings/ProjectorStoredForm.h"
#include "settings/Value.h"

CGroupItem2::~CGroupItem2() { CGroupItem2::Clear(); }

int CGroupItem2::Load(int index, CGroupItem* source) {
    if (!source)
        return -1;
    Clear();
    CValue value;
    m_name = value.GetGroupName(index);
    int count = StoredCount(index);
    // Value m repeats the entries of values 0..m-1 before its own, so one
    // position carried across the values lands on each value's new entry.
    int position = 0;
    CProjectorInfo scratch;
    for (int m = 0; m < count; ++m) {
        CBinary bytes = value.GetProjector(index, m);
        if (bytes.IsEmpty())
            continue;
        std::string entryName = bytes.ReadText(position);
        if (m_name.empty())
            m_name = entryName;
        CBinary stored = bytes.ReadBlock(position);
        scratch.Reset();
        if (LoadFrom(scratch, stored) != 0)
            continue;
        CProjectorInfo* found = nullptr;
        if (!scratch.macAddress.empty())
            found = source->FindByMac(scratch.macAddress);
        else if (!scratch.ipAddress.empty())
            found = source->FindByAddress(scratch.ipAddress);
        if (found)
            m_members.push_back(found);
    }
    return 0;
}

int CGroupItem2::Save(int index) {
    CValue value;
    CProfileBatch batch(value.Store());
    value.SetGroupName(index, m_name);
    CBinary entries;
    int written = 0;
    for (const CProjectorInfo* member : m_members) {
        if (!member)
            continue;
        CBinary stored;
        SaveTo(*member, stored);
        entries.AppendText(m_name);
        entries.AppendBlock(stored);
        value.SetProjector(index, written++, entries);
    }
    value.SetProjectorCount(index, written);
    return batch.Commit() ? 0 : -1;
}

int CGroupItem2::Remove(CProjectorInfo* record) {
    if (!record)
        return -1;
    // The record itself first. Matching an empty MAC address would unlink
    // some other never-answered projector and leave this one linked after
    // the All group deletes it.
    auto it = std::find(m_members.begin(), m_members.end(), record);
    if (it == m_members.end() && !record->macAddress.empty())
        it = std::find_if(m_members.begin(), m_members.end(), [record](const CProjectorInfo* member) {
            return member && member->macAddress == record->macAddress;
        });
    if (it == m_members.end())
        return 0;
    m_members.erase(it);
    return 1;
}

int CGroupItem2::RemoveAt(int n) {
    if (n < 0 || n >= GetCount())
        return 0;
    m_members.erase(m_members.begin() + n);
    return 1;
}

void CGroupItem2::Clear() { m_members.clear(); }

void CGroupItem2::CopyGroupFrom(const CGroupItem& other) {
    Clear();
    for (int n = 0; n < other.GetCount(); ++n)
        if (CProjectorInfo* member = other.GetAt(n))
            m_members.push_back(member);
    m_name = other.Name();
}

void CGroupItem2::Add(CProjectorInfo* record) {
    if (record)
        m_members.push_back(record);
}
