#include "settings/CommSetInfo.h"

#include "settings/ProfileStore.h"
#include "settings/Value.h"

int CCommSetInfo::Load() {
    CValue value;
    autoSearchFlag = value.GetAutoSearchFlag();
    autoSearchInterval = value.GetAutoSearchInterval();
    projectorSearchPort = value.GetProjectorSearchPort();
    clientDataPortStart = value.GetClientDataPortStart();
    clientDataPortEnd = value.GetClientDataPortEnd();
    return 0;
}

int CCommSetInfo::Save() {
    CValue value;
    CProfileBatch batch(value.Store());
    value.SetAutoSearchFlag(autoSearchFlag);
    value.SetAutoSearchInterval(autoSearchInterval);
    value.SetProjectorSearchPort(projectorSearchPort);
    value.SetClientDataPortStart(clientDataPortStart);
    value.SetClientDataPortEnd(clientDataPortEnd);
    return 0;
}
