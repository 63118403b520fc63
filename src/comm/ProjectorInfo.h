#pragma once
// CProjectorInfo: everything the console knows about one projector. The same
// class is the persistent record (owned by the All group, identified by its
// address everywhere), a session's working record, and value snapshots. Its
// stored form belongs to the settings (ProjectorStoredForm.h), which keep
// records; this library sits below them and below the sessions.
#include <atomic>
#include <cstdint>
#include <string>

class CProjectorInfo {
public:
    CProjectorInfo();
    CProjectorInfo(const CProjectorInfo& other);
    CProjectorInfo& operator=(const CProjectorInfo& other);
    virtual ~CProjectorInfo();

    void Reset();
    // Every field, credentials, busy and rememberCredentials included.
    void CopyFrom(const CProjectorInfo& other);
    // Compares the polled and identity values; busy and credentials are not compared.
    bool SameValues(const CProjectorInfo& other) const;
    // Copies what SameValues compares, plus busy; credentials stay as they are.
    void CopyValues(const CProjectorInfo& other);

    std::string StatusText() const;
    std::string PowerText() const;
    std::string LampText() const;
    std::string InputText() const;
    std::string HoursText() const;  // "%d h" [+ " %d min"], or "----"
    std::string LifeText() const;   // "%d%", or "----"
    std::string DisplayName() const;
    int DisplayState() const;

    // Fields, in their declaration order.
    std::string name;
    std::string ipAddress;
    std::string macAddress;
    std::int32_t status = 0;
    std::int32_t power = 0;
    std::string model;
    std::int32_t lampState = 0;
    std::int32_t lampHours = -1;
    std::int32_t lampLife = -1;
    std::int32_t input = 0;
    std::string inputSignal;
    std::string serialNumber;
    std::string lamp1Time;
    std::string lamp2Time;
    std::string ttavText;
    // Set by the session thread while the UI thread may read it for drawing.
    std::atomic<std::int32_t> busy{0};
    std::int32_t rememberCredentials = 0;
    std::string userName;
    std::string password;
    std::int32_t lampMinutes = -1;
};
