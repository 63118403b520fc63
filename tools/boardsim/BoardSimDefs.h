#pragma once
// Fixed numbers of the simulated boards' network side. The information port
// and the default search port are the console's own.
#include "comm/CommDefs.h"  // BOARD_INFO_PORT
#include "comm/CommWnd.h"   // DEFAULT_SEARCH_PORT

// searchPort value that opens no search socket.
constexpr int SEARCH_PORT_OFF = -1;
// Descriptors a board needs at least (its two listeners), and with one
// command connection open as the console keeps it.
constexpr int FDS_PER_BOARD_MIN = 2;
constexpr int FDS_PER_BOARD_CONNECTED = 3;
constexpr int FDS_SPARE = 64;
