#pragma once
// A fleet of simulated boards served in-process on this test's loopback
// block: add boards with simulator settings, start, steer with control lines,
// read the boards' counters.
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include "BoardSim.h"
#include "FleetFile.h"
#include "support/TestAddress.h"

class LoopbackFleet {
public:
    ~LoopbackFleet() { Stop(); }

    // settings are "FIELD VALUE" as the simulator's set line takes them.
    std::string AddBoard(std::vector<std::string> settings = {}) {
        std::string address = TestLoopbackAddress(static_cast<int>(m_pending.size()) + 1);
        m_pending.push_back({address, std::move(settings)});
        return address;
    }
    void Start() {
        SimFleet fleet;
        fleet.searchPort = SEARCH_PORT_OFF;
        for (const auto& board : m_pending)
            fleet.boards.push_back(std::make_unique<CSimBoard>(board.first));
        m_sim = std::make_unique<CBoardSim>(std::move(fleet));
        for (const auto& [address, settings] : m_pending)
            for (const std::string& setting : settings)
                ASSERT_EQ(m_sim->Apply("set " + address + " " + setting).rfind("OK", 0), 0u) << setting;
        std::string error;
        ASSERT_TRUE(m_sim->Start(error)) << error;
    }
    void Stop() {
        if (m_sim)
            m_sim->Stop();
    }
    void Control(const std::string& line) { ASSERT_EQ(m_sim->Apply(line).rfind("OK", 0), 0u) << line; }
    QJsonObject Stats(const std::string& address) {
        return QJsonDocument::fromJson(QByteArray::fromStdString(m_sim->Apply("stats " + address))).object();
    }
    QJsonObject State(const std::string& address) {
        return QJsonDocument::fromJson(QByteArray::fromStdString(m_sim->Apply("state " + address))).object();
    }
    int Sent(const std::string& address, const char* command) {
        return Stats(address)["commands"].toObject()[command].toInt();
    }

private:
    std::unique_ptr<CBoardSim> m_sim;
    std::vector<std::pair<std::string, std::vector<std::string>>> m_pending;
};
