#include "BoardAccess.h"

#include <cstdio>
#include <fstream>

#include "comm/CommDefs.h"

const std::set<std::string> kBoardAccessOptions = {"--user", "--password-file", "--ports"};

bool ReadPasswordFile(const std::string& path, std::string& password, std::string& error) {
    std::ifstream file(path);
    if (!file) {
        error = "cannot read password file " + path;
        return false;
    }
    std::getline(file, password);
    if (!password.empty() && password.back() == '\r')
        password.pop_back();
    return true;
}

bool ParsePortRange(const std::string& text, int& start, int& end) {
    constexpr int kHighestPort = 65535;
    const size_t dash = text.find('-');
    return dash != std::string::npos && ParseWholeNumber(text.substr(0, dash), 0, kHighestPort, start) &&
           ParseWholeNumber(text.substr(dash + 1), 0, kHighestPort, end);
}

bool ParseBoardAccess(const CCtlOptions& options, BoardAccess& access, std::string& error) {
    if (auto user = options.Value("--user"))
        access.user = *user;
    if (auto file = options.Value("--password-file")) {
        if (!ReadPasswordFile(*file, access.password, error))
            return false;
    }
    if (auto ports = options.Value("--ports")) {
        if (!ParsePortRange(*ports, access.portStart, access.portEnd)) {
            error = "--ports wants LO-HI with ports 0..65535, not '" + *ports + "'";
            return false;
        }
    }
    return true;
}

std::unique_ptr<CDirectSession> OpenDirectSession(const BoardAccess& access) {
    CProjectorInfo record;
    record.ipAddress = access.address;
    record.userName = access.user;
    record.password = access.password;
    return std::make_unique<CDirectSession>(record, access.portStart, access.portEnd);
}

int BoardFailure(int rc, const std::string& message) {
    std::fprintf(stderr, "%s\nlumivexctl: %s\n", ResultCodeName(rc), message.c_str());
    return EXIT_FAILED;
}

int ContactBoard(CDirectSession& board, std::string& message) {
    const int r = board.Contact();
    switch (board.FailedStep()) {
    case ContactStep::None: break;
    case ContactStep::BoardInfo: message = "information exchange failed"; break;
    case ContactStep::Password: message = "the board asks for a login: give --user and --password-file"; break;
    case ContactStep::Login: message = "login failed"; break;
    }
    return r;
}
