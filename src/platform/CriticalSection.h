#pragma once
// The critical section of the design is a plain mutex; a lock is taken only for
// short field accesses, never across a network wait, a sleep or a post.
#include <mutex>

using CCriticalSection = std::mutex;
using CSingleLock = std::lock_guard<std::mutex>;
