#pragma once
// Fixed numbers of the simulated boards' network side.

// The port every board answers its information request on.
constexpr int SIM_INFO_PORT = 7;
// The console's default search port.
constexpr int SIM_DEFAULT_SEARCH_PORT = 5006;
// searchPort value that opens no search socket.
constexpr int SEARCH_PORT_OFF = -1;
// Descriptors a board needs at least (its two listeners), and with one
// command connection open as the console keeps it.
constexpr int FDS_PER_BOARD_MIN = 2;
constexpr int FDS_PER_BOARD_CONNECTED = 3;
constexpr int FDS_SPARE = 64;
