#include "comm/CommDefs.h"

const char* ResultCodeName(int rc) {
    switch (rc) {
    case RC_OK: return "RC_OK";
    case RC_STOPPED: return "RC_STOPPED";
    case RC_TIMEOUT: return "RC_TIMEOUT";
    case RC_INVALID: return "RC_INVALID";
    case RC_SOCKET_ERROR: return "RC_SOCKET_ERROR";
    case RC_LOGIN_REFUSED: return "RC_LOGIN_REFUSED";
    case RC_BAD_COMMAND: return "RC_BAD_COMMAND";
    case RC_REFUSED: return "RC_REFUSED";
    case RC_CONN_REFUSED: return "RC_CONN_REFUSED";
    case RC_ADDR_IN_USE: return "RC_ADDR_IN_USE";
    default: return "RC_UNKNOWN";
    }
}
