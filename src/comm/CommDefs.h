#pragma once
// Numbers shared by the projector communication subsystem: result codes of
// the board dialogue, status and power codes of the projector record, and the
// window messages of the sessions, the engine and the view.
#include "platform/MsgWnd.h"

// Result codes of the board dialogue and its transport steps.
constexpr int RC_OK = 0;
constexpr int RC_STOPPED = 1;
constexpr int RC_TIMEOUT = 2;
constexpr int RC_INVALID = -1;
constexpr int RC_SOCKET_ERROR = -3;
constexpr int RC_LOGIN_REFUSED = -4;
constexpr int RC_BAD_COMMAND = -5;
constexpr int RC_REFUSED = -6;
constexpr int RC_CONN_REFUSED = -7;  // inside a connect step only
constexpr int RC_ADDR_IN_USE = -8;   // inside a connect step only

// The result code's name ("RC_REFUSED"); "RC_UNKNOWN" for any other value.
const char* ResultCodeName(int rc);

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

// Control command indexes (the engine's SendCommand and the session's SendControl).
constexpr int CONTROL_POWER_ON = 0;
constexpr int CONTROL_STANDBY = 1;
constexpr int CONTROL_RGB1 = 2;        // .. CONTROL_RGB1 + 5
constexpr int CONTROL_VIDEO1 = 8;      // .. CONTROL_VIDEO1 + 5
constexpr int CONTROL_IMBK_ON = 14;
constexpr int CONTROL_IMBK_OFF = 15;
constexpr int CONTROL_MUTE_ON = 16;
constexpr int CONTROL_MUTE_OFF = 17;
constexpr int CONTROL_LNST_ON = 18;
constexpr int CONTROL_LNST_OFF = 19;
constexpr int CONTROL_IMBK_MUTE_ON = 20;
constexpr int CONTROL_IMBK_MUTE_OFF = 21;
constexpr int CONTROL_COUNT = 22;

// Messages a session or the search listener posts to the engine window.
constexpr unsigned WM_COMM_UPDATE = WM_USER + 4;
constexpr unsigned WM_COMM_RESULT = WM_USER + 5;
constexpr unsigned WM_COMM_PASSWORD_REQUEST = WM_USER + 31;
constexpr unsigned WM_COMM_PASSWORD_ANSWER = WM_USER + 33;
constexpr unsigned WM_COMM_SEARCH_DONE = WM_USER + 34;
constexpr unsigned WM_COMM_SEARCH_FOUND = WM_USER + 35;

// Messages the engine posts to the view.
constexpr unsigned WM_VIEW_UPDATE = WM_USER + 4;
constexpr unsigned WM_VIEW_CHANGED = WM_USER + 5;
constexpr unsigned WM_VIEW_PASSWORD = WM_USER + 32;
constexpr unsigned WM_VIEW_SEARCH_DONE = WM_USER + 34;
constexpr unsigned WM_VIEW_SEARCH_FOUND = WM_USER + 35;
constexpr unsigned WM_VIEW_SEARCH_DUE = WM_USER + 36;
constexpr unsigned WM_VIEW_STATUS_ERROR = WM_USER + 38;
constexpr unsigned WM_VIEW_UPDATE_DONE = WM_USER + 42;

// Why the last projector search did not start (CCommWnd::LastSearchFailure).
constexpr int SEARCH_STARTED = 0;
constexpr int SEARCH_FAIL_RUNNING = 1;    // a search is still running
constexpr int SEARCH_FAIL_PORT = 2;       // the search port is outside 1..65535
constexpr int SEARCH_FAIL_LISTEN = 3;     // the listening socket could not be bound (port in use)
constexpr int SEARCH_FAIL_THREAD = 4;     // the listener thread could not be started
constexpr int SEARCH_FAIL_BROADCAST = 5;  // a search datagram could not be sent

// Fixed values of the board dialogue.
constexpr int BOARD_INFO_PORT = 7;
constexpr int BOARD_TIMEOUT_MS = 30000;
constexpr int BOARD_REPLY_CAPACITY = 1024;
// The board needs a moment between the information exchange and the login.
constexpr int BOARD_AFTER_INFO_PAUSE_MS = 500;
