#pragma once
// Numbers shared by the projector communication subsystem: result codes of
// the board dialogue, control command indexes, and the window messages of the
// sessions, the engine and the view. The projector record's own codes are in
// ProjectorCodes.h.
#include "comm/ProjectorCodes.h"
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
// The answer's lParam: the password dialog's result.
constexpr int PASSWORD_ANSWER_OK = 1;
constexpr int PASSWORD_ANSWER_CANCEL = 2;
constexpr unsigned WM_COMM_SEARCH_DONE = WM_USER + 34;
constexpr unsigned WM_COMM_SEARCH_FOUND = WM_USER + 35;

// Messages the engine posts to the view.
constexpr unsigned WM_VIEW_UPDATE = WM_USER + 4;
constexpr unsigned WM_VIEW_CHANGED = WM_USER + 5;
constexpr unsigned WM_VIEW_PASSWORD = WM_USER + 32;
constexpr unsigned WM_VIEW_SEARCH_DONE = WM_USER + 34;
constexpr unsigned WM_VIEW_SEARCH_FOUND = WM_USER + 35;
constexpr unsigned WM_VIEW_SEARCH_DUE = WM_USER + 36;
constexpr unsigned WM_VIEW_STATUS_ERROR = WM_USER + 38;  // wParam = record, lParam = its new status
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
