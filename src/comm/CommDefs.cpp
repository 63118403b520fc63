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

int ErrorKindOf(int status) {
    switch (status) {
    case STATUS_TEMP_BIT0:
    case STATUS_TEMP_BIT6: return ERROR_KIND_TEMPERATURE;
    case STATUS_FAN: return ERROR_KIND_FAN;
    case STATUS_FILTER_COVER: return ERROR_KIND_FILTER_COVER;
    case STATUS_LAMP_BIT3:
    case STATUS_LAMP_BIT4:
    case STATUS_LAMP_BIT5: return ERROR_KIND_LAMP;
    case STATUS_COMM_ERROR: return ERROR_KIND_COMM;
    case STATUS_CONNECTION_ERROR: return ERROR_KIND_CONNECTION;
    default: return ERROR_KIND_NONE;
    }
}
