// AAX_CMutex and AAX_StLock_Guard: an owner-tracking mutex
// that is not recursive in the counting sense.
#pragma once

// A POSIX mutex that remembers which thread holds it. [any] thread.
//   Lock      false when the mutex could not be created, or (doing nothing) when
//             the caller already owns it; otherwise blocks, takes it, true.
//   Unlock    releases only when the caller is the owner; otherwise nothing.
//   Try_Lock  true when the caller already owns it; otherwise takes it without
//             blocking when free (true) or gives false.
// So a nested Lock on the owning thread returns false and the inner scope must
// skip its Unlock, which AAX_StLock_Guard does.
class AAX_CMutex
{
public:
  AAX_CMutex();
  ~AAX_CMutex();

  bool Lock();
  void Unlock();
  bool Try_Lock();

  AAX_CMutex(const AAX_CMutex&) = delete;
  AAX_CMutex& operator=(const AAX_CMutex&) = delete;

private:
  struct opaque_aax_mutex_t;  // owner thread and the POSIX mutex
  opaque_aax_mutex_t* mMutex; // null when the system mutex could not be created
};

// Scoped lock: Lock in the constructor, Unlock in the destructor only when that
// Lock returned true; nested guards on one thread release at the outermost.
class AAX_StLock_Guard
{
public:
  explicit AAX_StLock_Guard(AAX_CMutex& iMutex) : mMutex(iMutex), mNeedsUnlock(iMutex.Lock()) {}
  ~AAX_StLock_Guard()
  {
    if (mNeedsUnlock) mMutex.Unlock();
  }

  AAX_StLock_Guard(const AAX_StLock_Guard&) = delete;
  AAX_StLock_Guard& operator=(const AAX_StLock_Guard&) = delete;

private:
  AAX_CMutex& mMutex;
  bool mNeedsUnlock;
};
