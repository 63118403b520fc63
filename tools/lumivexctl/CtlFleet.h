#pragma once
// CCtlFleet: the part of the console that lumivexctl's fleet commands need:
// the projector records (in an all-projectors group), the communication
// engine with one session each, and the view side that receives the
// engine's messages. Runs on the program's main thread and event loop.
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "comm/CommWnd.h"
#include "platform/MsgWnd.h"
#include "settings/GroupItem.h"

class CValueProjectorInfo;

// The engine with a count of the results each session reported.
class CCtlEngine : public CCommWnd {
public:
    using CCommWnd::CCommWnd;
    int ResultCount(const CValueProjectorInfo* session) const;

protected:
    LRESULT OnMessage(unsigned msg, WPARAM wParam, LPARAM lParam) override;

private:
    std::map<const CValueProjectorInfo*, int> m_results;
};

class CCtlFleet : public CMsgWnd {
public:
    CCtlFleet();
    ~CCtlFleet() override;

    // Checks the descriptor budget for n boards; false with a message.
    static bool Fits(long boards, std::string& message);

    CProjectorInfo* Add(const std::string& address, const std::string& user, const std::string& password);
    // Adds a copy of a stored record (name, address, login and last values).
    CProjectorInfo* AddStored(const CProjectorInfo& stored);
    const std::vector<CProjectorInfo*>& Records() const { return m_records; }
    CGroupItem& All() { return m_all; }
    CCtlEngine& Engine() { return *m_engine; }

    // Handlers for the view messages; unset ones are ignored.
    std::function<void(CProjectorInfo*)> onChanged;
    std::function<void(CProjectorInfo*)> onStatusError;
    std::function<void()> onUpdateDone;
    std::function<void(const std::string& address)> onSearchFound;
    std::function<void()> onSearchDone;
    // Fills user and password for a board that asks a login; false cancels.
    std::function<bool(CProjectorInfo*, const std::string& host, std::string&, std::string&)> onPassword;

    // Runs the event loop until done() holds, ms pass (ms < 0: no limit) or
    // the operator interrupts; true when done() held.
    bool RunUntil(const std::function<bool()>& done, int ms);
    // True once SIGINT or SIGTERM arrived.
    static bool Interrupted();

protected:
    LRESULT OnMessage(unsigned msg, WPARAM wParam, LPARAM lParam) override;

private:
    bool IsRecord(const void* pointer) const;
    void AnswerPassword(CProjectorInfo* record, CValueProjectorInfo* session);

    CGroupItem m_all;
    std::vector<CProjectorInfo*> m_records;
    CCtlEngine* m_engine;  // a child of this window
};
