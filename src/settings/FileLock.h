#pragma once
// CFileLock: an exclusive lock shared by every process that writes one file,
// held on a lock file beside it while a writer reads what the file holds and
// replaces it. The kernel drops the lock of a process that dies; the lock
// file is removed on release, and a waiter that finds its lock file removed
// takes the new one. Made on the stack by the profile store for one write.
#include <string>

class CFileLock {
public:
    explicit CFileLock(std::string lockPath);
    ~CFileLock();
    CFileLock(const CFileLock&) = delete;
    CFileLock& operator=(const CFileLock&) = delete;

    // False when the lock could not be had within timeoutMs (another writer
    // holds it, or the lock file cannot be made).
    bool Acquire(int timeoutMs);
    void Release();

private:
    bool TryOnce(bool& busy);

    std::string m_path;
    int m_fd = -1;
};
