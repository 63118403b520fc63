#include "alert/AlertCodes.h"

#include "alert/AlertDefs.h"
#include "comm/ProjectorCodes.h"

namespace {

struct BitTexts {
    int bit;
    int message;
};

// The board's error flags in the order of the box's message texts.
constexpr BitTexts kBitTexts[] = {
    {ALERT_BIT_TEMP_FLAG0, IDS_ALERT_TEMP_FLAG0}, {ALERT_BIT_FAN, IDS_ALERT_FAN},
    {ALERT_BIT_FILTER_COVER, IDS_ALERT_FILTER_COVER}, {ALERT_BIT_LAMP_FLAG3, IDS_ALERT_LAMP_FLAG3},
    {ALERT_BIT_LAMP_FLAG4, IDS_ALERT_LAMP_FLAG4}, {ALERT_BIT_LAMP_FLAG5, IDS_ALERT_LAMP_FLAG5},
    {ALERT_BIT_TEMP_FLAG6, IDS_ALERT_TEMP_FLAG6}, {ALERT_BIT_COMM, IDS_ALERT_COMM},
    {ALERT_BIT_CONNECTION, IDS_ALERT_CONNECTION},
};

// The two conditions that are a caution rather than a warning.
constexpr int kCautionBits = ALERT_BIT_TEMP_FLAG0 | ALERT_BIT_LAMP_FLAG3;

}  // namespace

int AlertMessageBit(int status) {
    switch (status) {
    case STATUS_TEMP_BIT0: return ALERT_BIT_TEMP_FLAG0;
    case STATUS_TEMP_BIT6: return ALERT_BIT_TEMP_FLAG6;
    case STATUS_FAN: return ALERT_BIT_FAN;
    case STATUS_FILTER_COVER: return ALERT_BIT_FILTER_COVER;
    case STATUS_LAMP_BIT3: return ALERT_BIT_LAMP_FLAG3;
    case STATUS_LAMP_BIT4: return ALERT_BIT_LAMP_FLAG4;
    case STATUS_LAMP_BIT5: return ALERT_BIT_LAMP_FLAG5;
    case STATUS_COMM_ERROR: return ALERT_BIT_COMM;
    case STATUS_CONNECTION_ERROR: return ALERT_BIT_CONNECTION;
    default: return ALERT_BIT_NONE;
    }
}

int AlertMessageTextId(int bit) {
    for (const BitTexts& entry : kBitTexts)
        if (entry.bit == bit)
            return entry.message;
    return 0;
}

int AlertHeadingTextId(int bit) {
    if (AlertMessageTextId(bit) == 0)
        return 0;
    return (bit & kCautionBits) ? IDS_ALERT_HEADING_CAUTION : IDS_ALERT_HEADING_WARNING;
}
