#include "PolledRecordCheck.h"

#include "FuzzSupport.h"
#include "comm/ProjectorCodes.h"
#include "comm/ProjectorInfo.h"

namespace {

constexpr int kLastLifePercent = 9999;
constexpr int kInputsPerFamily = 6;

bool IsQuarterHour(int minutes) { return minutes == 0 || minutes == 15 || minutes == 30 || minutes == 45; }

bool IsKnownInput(int input) {
    return input == INPUT_UNKNOWN || (input >= 1 && input <= kInputsPerFamily) ||
           (input > INPUT_VIDEO_BASE && input <= INPUT_VIDEO_BASE + kInputsPerFamily);
}

}  // namespace

void CheckPolledRecord(const CProjectorInfo& r, bool powerOnly) {
    FuzzCheck(r.power == POWER_UNKNOWN || r.power == POWER_ON || r.power == POWER_STANDBY, "power is a power code");
    if (powerOnly)
        return;
    FuzzCheck(r.status >= STATUS_UNKNOWN && r.status <= STATUS_COMM_ERROR, "a poll's status is 0..9");
    FuzzCheck(r.lampState >= 0 && r.lampState <= 4, "the lamp state is 0..4");
    FuzzCheck(r.lampHours >= -1, "lamp hours are -1 or more");
    FuzzCheck(r.lampMinutes == -1 || IsQuarterHour(r.lampMinutes), "lamp minutes are -1 or a quarter hour");
    FuzzCheck(r.lampLife >= -1 && r.lampLife <= kLastLifePercent, "lamp life is -1..9999");
    FuzzCheck(IsKnownInput(r.input), "the input is unknown, computer 1..6 or video 1..6");
    FuzzCheck(!r.name.empty(), "a polled projector has a name");
}
