#include "settings/DurableFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::size_t kCompareChunk = 64 * 1024;

std::string FolderOf(const std::string& path) {
    std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool HoldsBytes(int fd, std::string_view bytes) {
    std::vector<char> chunk(kCompareChunk);
    for (std::size_t offset = 0; offset < bytes.size(); offset += kCompareChunk) {
        std::size_t n = std::min(kCompareChunk, bytes.size() - offset);
        if (::lseek(fd, off_t(offset), SEEK_SET) < 0 || !ReadAll(fd, chunk.data(), n) ||
            std::memcmp(chunk.data(), bytes.data() + offset, n) != 0)
            return false;
    }
    char extra = 0;
    return ::read(fd, &extra, 1) == 0;
}

}  // namespace

bool ReadAll(int fd, void* out, std::size_t n) {
    auto* at = static_cast<unsigned char*>(out);
    while (n > 0) {
        ssize_t got = ::read(fd, at, n);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        at += got;
        n -= std::size_t(got);
    }
    return true;
}

bool WriteAll(int fd, const void* in, std::size_t n) {
    const auto* at = static_cast<const unsigned char*>(in);
    while (n > 0) {
        ssize_t put = ::write(fd, at, n);
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return false;
        at += put;
        n -= std::size_t(put);
    }
    return true;
}

bool ReadToEnd(int fd, std::string& out) {
    char chunk[kCompareChunk];
    for (;;) {
        ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return got == 0;
        out.append(chunk, std::size_t(got));
    }
}

void SyncFolder(const std::string& folder) {
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

int ReplaceFile(const std::string& path, std::string_view bytes, mode_t mode) {
    std::string temp = path + ".XXXXXX";
    int fd = ::mkostemp(temp.data(), O_CLOEXEC);  // O_RDWR, mode 0600
    if (fd < 0)
        return -1;
    bool ok = WriteAll(fd, bytes.data(), bytes.size()) && HoldsBytes(fd, bytes) && ::fchmod(fd, mode) == 0 &&
              ::fsync(fd) == 0 && std::rename(temp.c_str(), path.c_str()) == 0;
    if (!ok) {
        ::close(fd);
        ::unlink(temp.c_str());
        return -1;
    }
    SyncFolder(FolderOf(path));
    ::lseek(fd, 0, SEEK_SET);
    return fd;
}
