#include "comm/ProjectorCodes.h"

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
