#pragma once
// The projector record's codes: status, error kind, power, input and list
// icon state. Plain numbers without any message or window header, so that
// the settings (which store records and alert switches per error kind) can
// use them below the communication subsystem.

// Projector status codes; 2..10 are the error values.
constexpr int STATUS_UNKNOWN = 0;
constexpr int STATUS_NORMAL = 1;
constexpr int STATUS_TEMP_BIT0 = 2;
constexpr int STATUS_TEMP_BIT6 = 3;
constexpr int STATUS_FAN = 4;
constexpr int STATUS_FILTER_COVER = 5;
constexpr int STATUS_LAMP_BIT3 = 6;
constexpr int STATUS_LAMP_BIT4 = 7;
constexpr int STATUS_LAMP_BIT5 = 8;
constexpr int STATUS_COMM_ERROR = 9;
constexpr int STATUS_CONNECTION_ERROR = 10;

constexpr bool IsErrorStatus(int status) { return status >= STATUS_TEMP_BIT0 && status <= STATUS_CONNECTION_ERROR; }

// Error kinds, in the order of the alert and mail switches.
enum ErrorKind { ERROR_KIND_NONE = -1, ERROR_KIND_TEMPERATURE = 0, ERROR_KIND_FAN, ERROR_KIND_FILTER_COVER,
                 ERROR_KIND_LAMP, ERROR_KIND_COMM, ERROR_KIND_CONNECTION, ERROR_KIND_COUNT };
int ErrorKindOf(int status);

// Power codes.
constexpr int POWER_UNKNOWN = 0;
constexpr int POWER_ON = 1;
constexpr int POWER_STANDBY = 2;

// Input codes: 1..6 computer input n, INPUT_VIDEO_BASE + n video input n.
constexpr int INPUT_UNKNOWN = 0;
constexpr int INPUT_VIDEO_BASE = 0x1000;

// List icon states of a record.
constexpr int DISPLAY_ON = 0;
constexpr int DISPLAY_STANDBY = 1;
constexpr int DISPLAY_ERROR = 2;
constexpr int DISPLAY_BUSY = 3;
constexpr int DISPLAY_CONNECTION_ERROR = 4;
constexpr int DISPLAY_UNKNOWN = 5;
