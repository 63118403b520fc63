#include "FleetFile.h"

#include <algorithm>
#include <cmath>
#include <set>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>

#include "SimText.h"

namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

std::string S(const QString& text) {
    return text.toStdString();
}

// A JSON value in the text form the board's setters take.
bool ValueText(const QJsonValue& value, std::string& text) {
    if (value.isString()) {
        text = S(value.toString());
        return true;
    }
    if (value.isBool()) {
        text = value.toBool() ? "1" : "0";
        return true;
    }
    if (value.isDouble()) {
        const double number = value.toDouble();
        if (std::floor(number) != number || std::fabs(number) > 1e15)
            return false;
        text = std::to_string(static_cast<long long>(number));
        return true;
    }
    return false;
}

// A setter's text back to JSON: numbers stay numbers.
QJsonValue JsonOf(const std::string& text) {
    long long number = 0;
    if (ParseInt(text, -1000000000000LL, 1000000000000LL, number) && text[0] != '+')
        return QJsonValue(static_cast<double>(number));
    return QJsonValue(Q(text));
}

bool ParseFault(const QJsonValue& value, CSimBoard& board, const std::string& where, std::string& error) {
    if (!value.isObject()) {
        error = where + " must be an object";
        return false;
    }
    const QJsonObject object = value.toObject();
    std::string target;
    std::string kind;
    if (!ValueText(object.value("on"), target) || !ValueText(object.value("kind"), kind)) {
        error = where + " needs \"on\" (a command, *, info, login or connect) and \"kind\"";
        return false;
    }
    CBoardFault fault;
    if (!fault.Init(target, kind, error)) {
        error = where + ": " + error;
        return false;
    }
    for (auto it = object.begin(); it != object.end(); ++it) {
        const std::string name = S(it.key());
        if (name == "on" || name == "kind")
            continue;
        std::string text;
        if (!ValueText(it.value(), text) || !fault.Set(name, text, error)) {
            error = where + ": " + (error.empty() ? name + " must be a text or a number" : error);
            return false;
        }
    }
    board.AddFault(fault);
    return true;
}

bool ParseLamps(const QJsonValue& value, CSimBoard& board, const std::string& where, std::string& error) {
    const QJsonArray lamps = value.toArray();
    if (!value.isArray() || lamps.isEmpty() || lamps.size() > 2) {
        error = where + "lamps must be an array of one or two lamp objects";
        return false;
    }
    board.SetField("lamps", std::to_string(lamps.size()), error);
    for (qsizetype i = 0; i < lamps.size(); ++i) {
        if (!lamps[i].isObject()) {
            error = where + "lamps[" + std::to_string(i) + "] must be an object";
            return false;
        }
        const QJsonObject lamp = lamps[i].toObject();
        for (auto it = lamp.begin(); it != lamp.end(); ++it) {
            const std::string field = "lamp" + std::to_string(i + 1) + "." + S(it.key());
            std::string text;
            if (!ValueText(it.value(), text)) {
                error = where + field + " must be a number";
                return false;
            }
            if (!board.SetField(field, text, error)) {
                error = where + error;
                return false;
            }
        }
    }
    return true;
}

bool ParseBoard(const QJsonValue& value, std::size_t index, std::set<std::string>& seen,
                std::unique_ptr<CSimBoard>& out, std::string& error) {
    std::string where = "board " + std::to_string(index + 1);
    if (!value.isObject()) {
        error = where + " must be an object";
        return false;
    }
    const QJsonObject object = value.toObject();
    std::string address;
    std::uint32_t numeric = 0;
    if (!ValueText(object.value("address"), address) || !ParseIpv4(address, numeric)) {
        error = where + " needs an \"address\" in dotted IPv4 form (a.b.c.d)";
        return false;
    }
    if (!seen.insert(address).second) {
        error = where + ": address " + address + " is used twice";
        return false;
    }
    where += " (" + address + "): ";
    auto board = std::make_unique<CSimBoard>(address);
    for (auto it = object.begin(); it != object.end(); ++it) {
        const std::string name = S(it.key());
        if (name == "address")
            continue;
        if (name == "lamps") {
            if (!ParseLamps(it.value(), *board, where, error))
                return false;
            continue;
        }
        if (name == "faults") {
            const QJsonArray faults = it.value().toArray();
            if (!it.value().isArray()) {
                error = where + "faults must be an array";
                return false;
            }
            for (qsizetype i = 0; i < faults.size(); ++i)
                if (!ParseFault(faults[i], *board, where + "faults[" + std::to_string(i) + "]", error))
                    return false;
            continue;
        }
        std::string text;
        if (!ValueText(it.value(), text)) {
            error = where + name + " must be a text, a whole number or true/false";
            return false;
        }
        if (!board->SetField(name, text, error)) {
            error = where + error;
            return false;
        }
    }
    out = std::move(board);
    return true;
}

QJsonObject BoardObject(const CSimBoard& board) {
    const SimBoardSettings& s = board.Settings();
    QJsonObject o;
    o["address"] = Q(s.address);
    o["hostName"] = Q(s.hostName);
    o["projectorName"] = Q(s.projectorName);
    o["login"] = s.loginRequired;
    o["user"] = Q(s.user);
    o["password"] = Q(s.password);
    o["model"] = Q(s.model);
    o["serial"] = Q(s.serial);
    o["power"] = s.powerOn ? "on" : "standby";
    o["errorBits"] = s.errorBits;
    QJsonArray lamps;
    for (const SimLamp& lamp : s.lamps) {
        QJsonObject l;
        l["state"] = lamp.state;
        l["hours"] = lamp.hours;
        l["minutes"] = lamp.minutes;
        l["life"] = lamp.life < 0 ? QJsonValue("---") : QJsonValue(lamp.life);
        lamps.append(l);
    }
    o["lamps"] = lamps;
    o["input"] = s.input == SimInput::Video ? "video" : "computer";
    o["computerInput"] = s.computerInput;
    o["videoInput"] = s.videoInput;
    o["signal"] = Q(s.signal);
    o["ttav"] = Q(s.ttav);
    o["imbk"] = s.imbk;
    o["mute"] = s.mute;
    o["lnst"] = s.lnst;
    o["commandPort"] = s.commandPort;
    o["lineEnd"] = s.crlf ? "crlf" : "lf";
    o["search"] = s.searchAnswer;
    o["searchDelayMs"] = s.searchDelayMs;
    o["searchTwice"] = s.searchTwice;
    o["searchHoldMs"] = s.searchHoldMs;
    QJsonArray faults;
    for (const CBoardFault& fault : board.Faults()) {
        QJsonObject f;
        f["on"] = Q(fault.Target());
        f["kind"] = Q(fault.KindName());
        for (const auto& [name, value] : fault.Parameters())
            f[Q(name)] = name == "text" ? QJsonValue(Q(value)) : JsonOf(value);
        faults.append(f);
    }
    o["faults"] = faults;
    return o;
}

std::string Compact(const QJsonObject& object) {
    return S(QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact)));
}

QJsonObject StatsObject(const std::vector<const SimBoardStats*>& all) {
    SimBoardStats sum;
    for (const SimBoardStats* s : all) {
        sum.infoConnections += s->infoConnections;
        sum.commandConnections += s->commandConnections;
        sum.logins += s->logins;
        sum.loginFailures += s->loginFailures;
        sum.searchAnswers += s->searchAnswers;
        for (const auto& [command, count] : s->commands)
            sum.commands[command] += count;
    }
    QJsonObject o;
    o["infoConnections"] = sum.infoConnections;
    o["commandConnections"] = sum.commandConnections;
    o["logins"] = sum.logins;
    o["loginFailures"] = sum.loginFailures;
    o["searchAnswers"] = sum.searchAnswers;
    QJsonObject commands;
    for (const auto& [command, count] : sum.commands)
        commands[Q(command)] = count;
    o["commands"] = commands;
    return o;
}

}  // namespace

bool CFleetFile::Load(const std::string& path, SimFleet& fleet, std::string& error) {
    QFile file(Q(path));
    if (!file.open(QIODevice::ReadOnly)) {
        error = path + ": " + S(file.errorString());
        return false;
    }
    if (!Parse(file.readAll().toStdString(), fleet, error)) {
        error = path + ": " + error;
        return false;
    }
    return true;
}

bool CFleetFile::Parse(const std::string& json, SimFleet& fleet, std::string& error) {
    QJsonParseError parseError{};
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(json), &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        const int line = 1 + static_cast<int>(std::count(json.begin(), json.begin() + std::min<qsizetype>(
                                                                           parseError.offset, json.size()), '\n'));
        error = "line " + std::to_string(line) + ": " + S(parseError.errorString());
        return false;
    }
    if (!doc.isObject()) {
        error = "the fleet must be a JSON object with a \"boards\" array";
        return false;
    }
    const QJsonObject root = doc.object();
    for (auto it = root.begin(); it != root.end(); ++it)
        if (it.key() != "boards" && it.key() != "searchPort") {
            error = "unknown member \"" + S(it.key()) + "\" (expected boards, searchPort)";
            return false;
        }
    SimFleet parsed;
    if (root.contains("searchPort")) {
        std::string text;
        long long port = 0;
        if (!ValueText(root.value("searchPort"), text) || !ParseInt(text, -1, 65535, port)) {
            error = "searchPort must be a number from 0 to 65535 (0: any free port, -1: no search)";
            return false;
        }
        parsed.searchPort = static_cast<int>(port);
    }
    const QJsonArray boards = root.value("boards").toArray();
    if (!root.value("boards").isArray() || boards.isEmpty()) {
        error = "the fleet needs a non-empty \"boards\" array";
        return false;
    }
    std::set<std::string> seen;
    for (qsizetype i = 0; i < boards.size(); ++i) {
        std::unique_ptr<CSimBoard> board;
        if (!ParseBoard(boards[i], static_cast<std::size_t>(i), seen, board, error))
            return false;
        parsed.boards.push_back(std::move(board));
    }
    fleet = std::move(parsed);
    return true;
}

SimFleet CFleetFile::Demo() {
    // address, host, name, model, port; then what makes each board different.
    struct Row {
        const char* address;
        const char* host;
        const char* name;
        const char* model;
        int port;
    };
    const Row rows[] = {
        {"127.0.10.1", "PJ-LOBBY", "Lobby", "LX-5200", 10000},
        {"127.0.10.2", "PJ-HALL", "Main hall", "LX-7800", 10001},
        {"127.0.10.3", "PJ-ROOM101", "Room 101", "LX-3000", 10002},
        {"127.0.10.4", "PJ-ROOM102", "Room 102", "LX-5200", 10003},
        {"127.0.10.5", "PJ-ROOM103", "Room 103", "LX-3000", 10004},
        {"127.0.10.6", "PJ-STUDIO", "", "LX-7800", 10005},
    };
    SimFleet fleet;
    std::string ignored;
    for (const Row& row : rows) {
        auto board = std::make_unique<CSimBoard>(row.address);
        board->SetField("hostName", row.host, ignored);
        board->SetField("projectorName", row.name, ignored);
        board->SetField("model", row.model, ignored);
        board->SetField("commandPort", std::to_string(row.port), ignored);
        board->SetField("lamps", "2", ignored);
        for (const auto& [field, value] : std::vector<std::pair<std::string, std::string>>{
                 {"lamp1.hours", "1234"}, {"lamp1.minutes", "30"}, {"lamp1.life", "62"},
                 {"lamp2.hours", "1190"}, {"lamp2.minutes", "15"}, {"lamp2.life", "64"}})
            board->SetField(field, value, ignored);
        fleet.boards.push_back(std::move(board));
    }
    auto set = [&](int board, const std::string& field, const std::string& value) {
        fleet.boards[static_cast<std::size_t>(board)]->SetField(field, value, ignored);
    };
    set(1, "login", "1");  // the hall board asks for a login
    set(1, "user", "admin");
    set(1, "password", "secret");
    set(1, "lineEnd", "crlf");
    set(2, "lamps", "1");  // a single-lamp projector
    set(2, "lamp1.life", "---");
    set(3, "errorBits", "8");  // a lamp that failed
    set(3, "lamp1.state", "3");
    set(3, "lamp1.life", "0");
    set(4, "power", "standby");
    set(4, "lamp1.state", "0");
    set(4, "lamp2.state", "0");
    set(4, "signal", "");
    set(5, "input", "video");  // no projector name set: the name query answers ERR
    set(5, "videoInput", "2");
    set(5, "signal", "NTSC");
    set(5, "ttav", "STUDIO A");
    return fleet;
}

bool CFleetFile::Generate(int count, const std::string& first, SimFleet& fleet, std::string& error) {
    std::uint32_t start = 0;
    if (!ParseIpv4(first, start)) {
        error = "--first needs a dotted IPv4 address, not \"" + first + "\"";
        return false;
    }
    if (count < 1 || static_cast<std::uint64_t>(start) + static_cast<std::uint64_t>(count) - 1 > 0xFFFFFFFEull) {
        error = "cannot place " + std::to_string(count) + " boards from " + first;
        return false;
    }
    SimFleet generated;
    std::string ignored;
    for (int i = 0; i < count; ++i) {
        auto board = std::make_unique<CSimBoard>(FormatIpv4(start + static_cast<std::uint32_t>(i)));
        auto set = [&](const std::string& field, const std::string& value) { board->SetField(field, value, ignored); };
        const std::string number = std::to_string(i + 1);
        set("hostName", "PJ-" + number);
        set("projectorName", "Projector " + number);
        set("model", i % 2 ? "LX-5200" : "LX-7800");
        set("lamps", i % 3 == 2 ? "1" : "2");
        set("lamp1.hours", std::to_string(100 + (i * 37) % 3000));
        set("lamp1.minutes", std::to_string((i % 4) * 15));
        set("lamp1.life", std::to_string(100 - (i * 7) % 100));
        if (i % 3 != 2) {
            set("lamp2.hours", std::to_string(90 + (i * 31) % 3000));
            set("lamp2.minutes", std::to_string(((i + 1) % 4) * 15));
            set("lamp2.life", std::to_string(100 - (i * 5) % 100));
        }
        if (i % 7 == 6) {
            set("power", "standby");
            set("lamp1.state", "0");
            set("lamp2.state", "0");
        }
        if (i % 5 == 4) {
            set("input", "video");
            set("videoInput", std::to_string(1 + i % 6));
            set("signal", "NTSC");
        } else {
            set("computerInput", std::to_string(1 + i % 6));
        }
        if (i % 13 == 12)
            set("errorBits", std::to_string(1 << (i / 13 % 7)));
        generated.boards.push_back(std::move(board));
    }
    fleet = std::move(generated);
    return true;
}

std::string CFleetFile::Write(const SimFleet& fleet) {
    QJsonArray boards;
    for (const auto& board : fleet.boards)
        boards.append(BoardObject(*board));
    QJsonObject root;
    root["searchPort"] = fleet.searchPort;
    root["boards"] = boards;
    return S(QString::fromUtf8(QJsonDocument(root).toJson(QJsonDocument::Indented)));
}

std::string CFleetFile::BoardLine(const CSimBoard& board, const std::string& extraMembers) {
    std::string line = Compact(BoardObject(board));
    if (!extraMembers.empty())
        line.insert(line.size() - 1, "," + extraMembers);
    return line;
}

std::string CFleetFile::StatsLine(const CSimBoard& board) {
    QJsonObject o = StatsObject({&board.Stats()});
    o["address"] = Q(board.Address());
    return Compact(o);
}

std::string CFleetFile::TotalStatsLine(const std::vector<CSimBoard*>& boards) {
    std::vector<const SimBoardStats*> all;
    for (const CSimBoard* board : boards)
        all.push_back(&board->Stats());
    QJsonObject o = StatsObject(all);
    o["boards"] = static_cast<int>(boards.size());
    return Compact(o);
}
