#pragma once
// How lumivexctl reaches one board: the address, the login (the password only
// from a file, never from the command line) and the client data port range,
// and the first contact and login exactly as the console's session makes them.
#include <memory>
#include <string>

#include "CtlCommand.h"

#include "comm/DirectSession.h"
#include "comm/ProjectorInfo.h"
#include "platform/Ipv4Address.h"

struct BoardAccess {
    std::string address;
    std::string user;
    std::string password;
    int portStart = 0;
    int portEnd = 0;
};

// The options BoardAccess reads.
constexpr CtlOption kUserOption{"--user", "NAME", "login name for a board that asks for one"};
constexpr CtlOption kPasswordFileOption{"--password-file", "FILE",
                                        "file whose first line is the login password (never on the command line)"};
constexpr CtlOption kPortsOption{"--ports", "LO-HI",
                                 "bind the connections to local ports LO..HI in turn (default: any port)"};

// Reads "LO-HI" with two ports 0..65535 (0-0: no binding); false otherwise.
bool ParsePortRange(const std::string& text, int& start, int& end);

// Fills access from the options; false with a message on a bad value.
bool ParseBoardAccess(const CCtlOptions& options, BoardAccess& access, std::string& error);
// Reads the first line of a password file (without its line end).
bool ReadPasswordFile(const std::string& path, std::string& password, std::string& error);

// One session driven step by step on the calling thread: the record with the
// address and login, and the port range to bind from.
std::unique_ptr<CDirectSession> OpenDirectSession(const BoardAccess& access);

// Prints the result code's name and the message on stderr; returns EXIT_FAILED.
int BoardFailure(int rc, const std::string& message);

// Information exchange, the pause after it, and login. RC_* result; message
// says which step failed (and for a board that wants a login nobody gave, so).
int ContactBoard(CDirectSession& board, std::string& message);
