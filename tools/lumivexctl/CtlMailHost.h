#pragma once
// The fleet (and, when given, the stored named groups) as lumivexctl shows
// them to the mail logic: the projectors in fleet order, the groups' names
// and members, and the engine's refresh.
#include "mail/MailNotifier.h"
#include "settings/Groups.h"

class CCtlFleet;

class CCtlMailHost : public IMailHost {
public:
    // groups may be null (no named groups); when given, groups[0] is the
    // stored All group whose records the fleet holds copies of, in order.
    CCtlMailHost(CCtlFleet& fleet, const GroupList* groups) : m_fleet(fleet), m_groups(groups) {}

    std::vector<const CProjectorInfo*> AllProjectors() const override;
    int GroupCount() const override;
    std::string GroupName(int index) const override;
    bool GroupContains(int index, const CProjectorInfo* record) const override;
    bool HasCommWindow() const override { return true; }
    void RequestUpdateAll(bool track) override;

private:
    CCtlFleet& m_fleet;
    const GroupList* m_groups;
};
