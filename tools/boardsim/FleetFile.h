#pragma once
// The fleet file: a JSON description of the simulated boards, read at start
// and written back for "state" and --print-fleet; also the built-in demo
// fleet and generated fleets of many boards. Stateless; used by main and
// CSimControl.
#include <memory>
#include <string>
#include <vector>

#include "BoardSimDefs.h"
#include "SimBoard.h"

struct SimFleet {
    std::vector<std::unique_ptr<CSimBoard>> boards;
    int searchPort = DEFAULT_SEARCH_PORT;  // 0: any free port; SEARCH_PORT_OFF: none
};

class CFleetFile {
public:
    // Reads and checks a fleet file; false with a reason naming the board and field.
    static bool Load(const std::string& path, SimFleet& fleet, std::string& error);
    static bool Parse(const std::string& json, SimFleet& fleet, std::string& error);

    // Six varied boards on 127.0.10.1 .. 127.0.10.6.
    static SimFleet Demo();
    // count varied boards on consecutive addresses from first.
    static bool Generate(int count, const std::string& first, SimFleet& fleet, std::string& error);

    // The whole fleet, indented, in the form Load reads.
    static std::string Write(const SimFleet& fleet);
    // One board as a single JSON line; extra members (already JSON text) are appended.
    static std::string BoardLine(const CSimBoard& board, const std::string& extraMembers = {});
    static std::string StatsLine(const CSimBoard& board);
    // Counts summed over several boards.
    static std::string TotalStatsLine(const std::vector<CSimBoard*>& boards);
};
