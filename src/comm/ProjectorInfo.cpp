#include "comm/ProjectorInfo.h"

#include <cstdio>

#include "comm/ProjectorCodes.h"
#include "platform/ResourceText.h"

namespace {

constexpr const char* kNoValue = "----";

// Text ids of the numbered texts the record shows.
constexpr int kStatusTextBase = 5000;
constexpr int kPowerOnText = 5100;
constexpr int kPowerStandbyText = 5101;
constexpr int kComputerInputTextBase = 1100;
constexpr int kVideoInputTextBase = 1106;

int StatusTextId(int status) {
    switch (status) {
    case STATUS_NORMAL: return kStatusTextBase;
    case STATUS_TEMP_BIT0:
    case STATUS_TEMP_BIT6: return kStatusTextBase + 1;
    case STATUS_FAN: return kStatusTextBase + 2;
    case STATUS_FILTER_COVER: return kStatusTextBase + 3;
    case STATUS_LAMP_BIT3:
    case STATUS_LAMP_BIT4:
    case STATUS_LAMP_BIT5: return kStatusTextBase + 4;
    case STATUS_COMM_ERROR: return kStatusTextBase + 5;
    case STATUS_CONNECTION_ERROR: return kStatusTextBase + 6;
    default: return 0;
    }
}

}  // namespace

CProjectorInfo::CProjectorInfo() = default;

CProjectorInfo::CProjectorInfo(const CProjectorInfo& other) { CopyFrom(other); }

CProjectorInfo& CProjectorInfo::operator=(const CProjectorInfo& other) {
    if (this != &other)
        CopyFrom(other);
    return *this;
}

CProjectorInfo::~CProjectorInfo() = default;

void CProjectorInfo::Reset() { CopyFrom(CProjectorInfo()); }

void CProjectorInfo::CopyFrom(const CProjectorInfo& other) {
    CopyValues(other);
    rememberCredentials = other.rememberCredentials;
    userName = other.userName;
    password = other.password;
}

bool CProjectorInfo::SameValues(const CProjectorInfo& o) const {
    return name == o.name && ipAddress == o.ipAddress && macAddress == o.macAddress && status == o.status &&
           power == o.power && model == o.model && lampState == o.lampState && lampHours == o.lampHours &&
           lampLife == o.lampLife && input == o.input && inputSignal == o.inputSignal &&
           serialNumber == o.serialNumber && lamp1Time == o.lamp1Time && lamp2Time == o.lamp2Time &&
           ttavText == o.ttavText && lampMinutes == o.lampMinutes;
}

void CProjectorInfo::CopyValues(const CProjectorInfo& o) {
    name = o.name;
    ipAddress = o.ipAddress;
    macAddress = o.macAddress;
    status = o.status;
    power = o.power;
    model = o.model;
    lampState = o.lampState;
    lampHours = o.lampHours;
    lampLife = o.lampLife;
    input = o.input;
    inputSignal = o.inputSignal;
    serialNumber = o.serialNumber;
    lamp1Time = o.lamp1Time;
    lamp2Time = o.lamp2Time;
    ttavText = o.ttavText;
    busy.store(o.busy.load());
    lampMinutes = o.lampMinutes;
}

std::string CProjectorInfo::StatusText() const {
    int id = StatusTextId(status);
    return id ? ResourceText(id) : std::string();
}

std::string CProjectorInfo::PowerText() const {
    if (power == POWER_ON)
        return ResourceText(kPowerOnText);
    if (power == POWER_STANDBY)
        return ResourceText(kPowerStandbyText);
    return kNoValue;
}

std::string CProjectorInfo::LampText() const {
    // Lamp states 1..4 stand for board codes 0..3.
    static const int ids[] = {5201, 5200, 5202, 5203};
    if (lampState < 1 || lampState > 4)
        return {};
    return ResourceText(ids[lampState - 1]);
}

std::string CProjectorInfo::InputText() const {
    if (input >= 1 && input <= 6)
        return ResourceText(kComputerInputTextBase + input - 1);
    if (input >= INPUT_VIDEO_BASE + 1 && input <= INPUT_VIDEO_BASE + 6)
        return ResourceText(kVideoInputTextBase + input - INPUT_VIDEO_BASE - 1);
    return kNoValue;
}

std::string CProjectorInfo::HoursText() const {
    if (lampHours == -1)
        return kNoValue;
    char text[64];
    if (lampMinutes != -1)
        std::snprintf(text, sizeof text, "%d h %d min", lampHours, lampMinutes);
    else
        std::snprintf(text, sizeof text, "%d h", lampHours);
    return text;
}

std::string CProjectorInfo::LifeText() const {
    if (lampLife == -1)
        return kNoValue;
    return std::to_string(lampLife) + "%";
}

std::string CProjectorInfo::DisplayName() const { return name + " (" + ipAddress + ")"; }

int CProjectorInfo::DisplayState() const {
    if (busy.load() == 1)
        return DISPLAY_BUSY;
    if (status == STATUS_CONNECTION_ERROR)
        return DISPLAY_CONNECTION_ERROR;
    if (status == STATUS_NORMAL) {
        if (power == POWER_ON)
            return DISPLAY_ON;
        if (power == POWER_STANDBY)
            return DISPLAY_STANDBY;
        return DISPLAY_UNKNOWN;
    }
    if (status >= STATUS_TEMP_BIT0 && status <= STATUS_COMM_ERROR)
        return DISPLAY_ERROR;
    return DISPLAY_UNKNOWN;
}
