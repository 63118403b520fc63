#include "alert/ErrorLog.h"

#include <cerrno>
#include <cstdio>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "alert/AlertCodes.h"
#include "comm/ProjectorInfo.h"
#include "platform/ResourceText.h"
#include "settings/AlertSetInfo.h"

namespace {

constexpr const char* kStampFormat = "%Y/%b/%d %H:%M:%S";

// Non-blocking, so that a path naming a pipe nobody reads fails at once
// instead of hanging the console; appending, so that one write() lands at
// the end whatever else holds the file open.
int OpenForAppend(const std::string& path) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC | O_NONBLOCK, 0666);
    if (fd < 0)
        return -errno;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return -EINVAL;
    }
    return fd;
}

}  // namespace

CErrorLog::CErrorLog(const IClock& clock) : m_clock(clock) {}

std::string CErrorLog::FormatLine(const CDateTime& when, const std::string& message, const std::string& address) {
    const std::string stamp = when.Format(kStampFormat);
    const std::string suffix = " - LAN " + address;
    // printf pads by bytes, which is what the log's columns count.
    const int size = std::snprintf(nullptr, 0, "%s %-256s%s\r\n", stamp.c_str(), message.c_str(), suffix.c_str());
    if (size <= 0)
        return {};
    std::string line(static_cast<size_t>(size) + 1, '\0');
    std::snprintf(line.data(), line.size(), "%s %-256s%s\r\n", stamp.c_str(), message.c_str(), suffix.c_str());
    line.resize(static_cast<size_t>(size));
    return line;
}

int CErrorLog::AppendLine(const std::string& path, const std::string& line) {
    const int fd = OpenForAppend(path);
    if (fd < 0)
        return -fd;
    struct stat before {};
    ::fstat(fd, &before);
    size_t written = 0;
    int error = 0;
    while (written < line.size()) {
        const ssize_t n = ::write(fd, line.data() + written, line.size() - written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            error = n < 0 ? errno : ENOSPC;
            break;
        }
        written += static_cast<size_t>(n);
    }
    // Half a line would run into the next one: take it back.
    if (error != 0 && written > 0 && ::ftruncate(fd, before.st_size) != 0)
        error = errno;
    if (::close(fd) != 0 && error == 0)
        error = errno;
    return error;
}

bool CErrorLog::CanOpenForWriting(const std::string& path) {
    if (path.empty())
        return false;
    const int fd = OpenForAppend(path);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}

int CErrorLog::WriteErrorLogLine(const CProjectorInfo& record, const CAlertSetInfo* settings) {
    if (!settings || !settings->errorLoging)
        return ERROR_LOG_NOTHING;
    const int messageId = AlertMessageTextId(AlertMessageBit(record.status));
    if (messageId == 0)
        return ERROR_LOG_NOTHING;
    const std::string path = settings->errorLogFile;
    if (path.empty() ||
        AppendLine(path, FormatLine(m_clock.Now(), ResourceText(messageId), record.ipAddress)) != 0) {
        ++m_lostLines;
        return ERROR_LOG_LOST;
    }
    return ERROR_LOG_WRITTEN;
}
