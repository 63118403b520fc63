#include "CtlMailHost.h"

#include "CtlFleet.h"
#include "settings/GroupItem.h"

std::vector<const CProjectorInfo*> CCtlMailHost::AllProjectors() const {
    return {m_fleet.Records().begin(), m_fleet.Records().end()};
}

int CCtlMailHost::GroupCount() const {
    return m_groups && !m_groups->empty() ? static_cast<int>(m_groups->size()) - 1 : 0;
}

std::string CCtlMailHost::GroupName(int index) const {
    return (*m_groups)[static_cast<size_t>(index) + 1]->Name();
}

bool CCtlMailHost::GroupContains(int index, const CProjectorInfo* record) const {
    // The fleet's records are copies of the stored ones: match by position.
    const auto& records = m_fleet.Records();
    for (size_t n = 0; n < records.size(); ++n)
        if (records[n] == record)
            return (*m_groups)[static_cast<size_t>(index) + 1]->Contains((*m_groups)[0]->GetAt(static_cast<int>(n))) != 0;
    return false;
}

void CCtlMailHost::RequestUpdateAll(bool track) { m_fleet.Engine().RequestUpdateAll(track ? 1 : 0); }
