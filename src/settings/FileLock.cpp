#include "settings/FileLock.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/TickCount.h"

namespace {

// Writers hold the lock for one file replacement, some milliseconds.
constexpr int kRetryMs = 2;

bool SameFile(int fd, const std::string& path) {
    struct stat held {}, named {};
    return ::fstat(fd, &held) == 0 && ::stat(path.c_str(), &named) == 0 && held.st_dev == named.st_dev &&
           held.st_ino == named.st_ino;
}

}  // namespace

CFileLock::CFileLock(std::string lockPath) : m_path(std::move(lockPath)) {}

CFileLock::~CFileLock() { Release(); }

bool CFileLock::Acquire(int timeoutMs) {
    Release();
    const auto start = TickCount();
    for (;;) {
        bool busy = false;
        if (TryOnce(busy))
            return true;
        if (!busy || TickCount() - start >= timeoutMs)
            return false;
        SleepMs(kRetryMs);
    }
}

bool CFileLock::TryOnce(bool& busy) {
    int fd = ::open(m_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return false;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        busy = errno == EWOULDBLOCK || errno == EINTR;
        ::close(fd);
        return false;
    }
    // The holder before us removes the file as it lets go; a lock on a
    // removed file excludes nobody.
    if (!SameFile(fd, m_path)) {
        busy = true;
        ::close(fd);
        return false;
    }
    m_fd = fd;
    return true;
}

void CFileLock::Release() {
    if (m_fd < 0)
        return;
    ::unlink(m_path.c_str());
    ::close(m_fd);
    m_fd = -1;
}
