#include "mail/MailErrorInfo.h"

#include <vector>

#include "settings/TextTools.h"
#include "settings/Value.h"

int CMailErrorInfo::Load() {
    std::vector<int> values(MAIL_ERROR_KIND_COUNT, 0);
    ParseFlagList(CValue().GetMailErrorStatus(), values);
    for (size_t i = 0; i < flags.size(); ++i)
        flags[i] = values[i];
    return 0;
}

int CMailErrorInfo::Save() {
    std::vector<int> values;
    for (int flag : flags)
        values.push_back(flag ? 1 : 0);
    CValue().SetMailErrorStatus(JoinIntList(values));
    return 0;
}
