#pragma once
// CErrorLog: the console's error log, one line per new projector error,
// appended to the file the alert settings name. Each line opens, appends and
// closes the file, so a log deleted or moved away while the console runs is
// made anew by the next line, and a viewer may hold the file open. A line
// that cannot be written is lost without a word (the operator is not to be
// stopped by a box per error), but counted, so the alert settings dialog can
// tell that the log is not being written. Owned by the main view; UI thread.
#include <string>

#include "platform/Clock.h"
#include "platform/DateTime.h"

class CAlertSetInfo;
class CProjectorInfo;

// Results of WriteErrorLogLine.
constexpr int ERROR_LOG_WRITTEN = 0;
constexpr int ERROR_LOG_NOTHING = 1;  // logging off, or a status that has no line
constexpr int ERROR_LOG_LOST = -1;    // no path, or the file could not be written

class CErrorLog {
public:
    explicit CErrorLog(const IClock& clock = SystemClock());

    // The line for record's status (its error, its address, the clock's
    // now) when settings switch logging on.
    int WriteErrorLogLine(const CProjectorInfo& record, const CAlertSetInfo* settings);
    // Lines lost since this log was made.
    int LostLines() const { return m_lostLines; }

    // The line's exact bytes: the stamp, the message padded with blanks to
    // 256 bytes (a longer one whole), " - LAN " and the address, CR LF.
    static std::string FormatLine(const CDateTime& when, const std::string& message, const std::string& address);
    // Appends line to the regular file at path (made if missing) in one
    // write; a line that cannot be written whole leaves the file as it was.
    // 0, or the errno of the failure.
    static int AppendLine(const std::string& path, const std::string& line);
    // True when path opens for appending as a regular file; a missing file
    // is made, empty.
    static bool CanOpenForWriting(const std::string& path);

private:
    const IClock& m_clock;
    int m_lostLines = 0;
};
