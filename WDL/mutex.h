#pragma once
// WDL_Mutex: the recursive mutex the framework locks everything with, plus a
// scoped lock. The entry counter exists only to catch unbalanced use: an
// Leave() without Enter() or a counter that fails to become positive.

#include <atomic>
#include <cassert>
#include <mutex>

class WDL_Mutex
{
public:
  WDL_Mutex() = default;
  WDL_Mutex(const WDL_Mutex&) = delete;
  WDL_Mutex& operator=(const WDL_Mutex&) = delete;

  // [any] Blocks until this thread holds the mutex; the same thread may enter
  // again, and each Enter() needs its Leave().
  void Enter()
  {
    mMutex.lock();
    const int new_debug_cnt = AddToDebugCount(1);
    assert(new_debug_cnt > 0);
    (void)new_debug_cnt;
  }

  // [any] Releases one level held by this thread.
  void Leave()
  {
    const int new_debug_cnt = AddToDebugCount(-1);
    assert(new_debug_cnt >= 0);
    (void)new_debug_cnt;
    mMutex.unlock();
  }

  // [any] Enters only when no other thread holds it; true when entered.
  bool TryEnter()
  {
    if (!mMutex.try_lock()) return false;
    const int new_debug_cnt = AddToDebugCount(1);
    assert(new_debug_cnt > 0);
    (void)new_debug_cnt;
    return true;
  }

  // Total entries minus exits (all threads); for tests and assertions only.
  int DebugCount() const { return mDebugCount.load(std::memory_order_relaxed); }

private:
  // Only the thread holding the mutex changes the counter, and the mutex
  // orders the holders, so a plain load and store count exactly; the
  // counter stays atomic only for readers on other threads. (A locked
  // read-modify-write here would double the cost of every entry.)
  int AddToDebugCount(int delta)
  {
    const int n = mDebugCount.load(std::memory_order_relaxed) + delta;
    mDebugCount.store(n, std::memory_order_relaxed);
    return n;
  }

  std::recursive_mutex mMutex;
  std::atomic<int> mDebugCount{0};
};

// Holds a WDL_Mutex for its own lifetime. A null mutex is allowed and ignored.
class WDL_MutexLock
{
public:
  explicit WDL_MutexLock(WDL_Mutex* m) : mMutex(m)
  {
    if (mMutex) mMutex->Enter();
  }
  ~WDL_MutexLock()
  {
    if (mMutex) mMutex->Leave();
  }
  WDL_MutexLock(const WDL_MutexLock&) = delete;
  WDL_MutexLock& operator=(const WDL_MutexLock&) = delete;

private:
  WDL_Mutex* mMutex;
};
