#pragma once
// Shared pieces of the list tests: records built from a few values, a group
// that owns them, and a stand-in for the view that records what it is posted.
#include <string>
#include <vector>

#include <QCoreApplication>

#include "comm/CommDefs.h"
#include "comm/ProjectorInfo.h"
#include "platform/EventWait.h"
#include "platform/MsgWnd.h"
#include "settings/GroupItem.h"

inline CProjectorInfo Record(const std::string& name, const std::string& ip = "10.0.0.1") {
    CProjectorInfo record;
    record.name = name;
    record.ipAddress = ip;
    return record;
}

// A group that owns copies of the records given, in that order.
inline void Fill(CGroupItem& group, const std::vector<CProjectorInfo>& records) {
    for (const auto& record : records)
        group.AddCopy(record, nullptr);
}

inline std::vector<std::string> Names(const std::vector<CProjectorInfo*>& rows) {
    std::vector<std::string> names;
    for (const auto* row : rows)
        names.push_back(row->name);
    return names;
}

// The view's side of the list window's posted messages.
class CMessageRecorder : public CMsgWnd {
public:
    int Count(unsigned msg) const {
        int n = 0;
        for (unsigned m : messages)
            n += m == msg;
        return n;
    }
    bool WaitFor(unsigned msg, int count = 1) {
        return RunEventsUntil([&] { return Count(msg) >= count; }, 5000);
    }
    std::vector<unsigned> messages;

protected:
    LRESULT OnMessage(unsigned msg, WPARAM, LPARAM) override {
        messages.push_back(msg);
        return 0;
    }
};

// Lets every event already posted run, then returns (no waiting for more).
inline void DrainEvents() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}
