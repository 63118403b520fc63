#include "settings/GroupItem.h"

#include <algorithm>
#include <memory>
#include <new>

#include "settings/ProfileStore.h"
#include "settings/ProjectorStoredForm.h"
#include "settings/Value.h"

CGroupItem::~CGroupItem() { CGroupItem::Clear(); }

int CGroupItem::StoredCount(int index) const {
    // A damaged count must not make the load walk billions of absent values.
    CValue value;
    return std::min(value.GetProjectorCount(index), value.StoredProjectorLimit(index));
}

int CGroupItem::Load(int index, CGroupItem*) {
    Clear();
    m_loadError.clear();
    CValue value;
    int count = StoredCount(index);
    for (int m = 0; m < count; ++m) {
        CBinary bytes = value.GetProjector(index, m);
        if (bytes.IsEmpty())
            continue;
        auto record = std::make_unique<CProjectorInfo>();
        if (LoadFrom(*record, bytes) != 0) {
            m_loadError = "the stored projector " + CValue::ProjectorValueName(m) + " of section " +
                          CValue::GroupSectionName(index) + " cannot be read";
            return -1;
        }
        m_members.push_back(record.release());
    }
    return 0;
}

int CGroupItem::Save(int index) {
    CValue value;
    CProfileBatch batch(value.Store());
    int written = 0;
    for (const CProjectorInfo* member : m_members) {
        CBinary bytes;
        SaveTo(*member, bytes);
        if (!bytes.IsEmpty())
            value.SetProjector(index, written++, bytes);
    }
    value.SetProjectorCount(index, written);
    return batch.Commit() ? 0 : -1;
}

int CGroupItem::Remove(CProjectorInfo* record) {
    if (!record)
        return -1;
    // The record itself first: another record with equal values (two
    // projectors that never answered, say) must not be deleted in its place.
    auto it = std::find(m_members.begin(), m_members.end(), record);
    if (it == m_members.end())
        it = std::find_if(m_members.begin(), m_members.end(),
                          [record](const CProjectorInfo* member) { return member->SameValues(*record); });
    if (it == m_members.end())
        return 0;
    CProjectorInfo* member = *it;
    m_members.erase(it);
    delete member;
    return 1;
}

int CGroupItem::RemoveAt(int n) {
    if (n < 0 || n >= GetCount())
        return 0;
    CProjectorInfo* member = m_members[n];
    m_members.erase(m_members.begin() + n);
    delete member;
    return 1;
}

void CGroupItem::Clear() {
    for (CProjectorInfo* member : m_members)
        delete member;
    m_members.clear();
}

int CGroupItem::Contains(const CProjectorInfo* record) const {
    return std::find(m_members.begin(), m_members.end(), record) != m_members.end() ? 1 : 0;
}

CProjectorInfo* CGroupItem::GetAt(int n) const { return n < 0 || n >= GetCount() ? nullptr : m_members[n]; }

CProjectorInfo* CGroupItem::FindByAddress(const std::string& ipText) const {
    for (CProjectorInfo* member : m_members)
        if (member && member->ipAddress == ipText)
            return member;
    return nullptr;
}

CProjectorInfo* CGroupItem::FindByMac(const std::string& mac) const {
    for (CProjectorInfo* member : m_members)
        if (member && member->macAddress == mac)
            return member;
    return nullptr;
}

int CGroupItem::AddCopy(const CProjectorInfo& record, CProjectorInfo** out) {
    if (out)
        *out = nullptr;
    auto* copy = new (std::nothrow) CProjectorInfo(record);
    if (!copy)
        return -1;
    m_members.push_back(copy);
    if (out)
        *out = copy;
    return 0;
}
