#include "alert/AlertList.h"

#include <algorithm>

bool CAlertList::HasAlertFor(int status) const {
    return std::any_of(m_entries.begin(), m_entries.end(),
                       [status](const Entry& entry) { return entry.popup && entry.status == status; });
}

void CAlertList::Append(QObject* popup, int status) { m_entries.push_back({popup, status}); }

bool CAlertList::Remove(const QObject* popup) {
    auto it = std::find_if(m_entries.begin(), m_entries.end(),
                           [popup](const Entry& entry) { return entry.popup == popup; });
    if (!popup || it == m_entries.end())
        return false;
    m_entries.erase(it);
    return true;
}

std::vector<QObject*> CAlertList::Popups() const {
    std::vector<QObject*> popups;
    for (const Entry& entry : m_entries)
        popups.push_back(entry.popup);
    return popups;
}
