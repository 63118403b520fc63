#include "StoredValues.h"

#include "comm/ProjectorInfo.h"
#include "settings/SettingsDefs.h"

bool SameStoredValues(const CProjectorInfo& a, const CProjectorInfo& b) {
    // A password too long to encrypt is not stored (it loads empty), and a
    // kept login without a password loads as one.
    const bool storable = a.password.size() < MAX_PASSWORD_BYTES;
    return a.name == b.name && a.ipAddress == b.ipAddress && a.macAddress == b.macAddress && a.power == b.power &&
           a.rememberCredentials == b.rememberCredentials &&
           (a.rememberCredentials == 0 || (a.userName == b.userName && (!storable || a.password == b.password)));
}
