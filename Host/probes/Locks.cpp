// Lock counting for validate: the tool's own pthread lock and wait functions,
// in front of the C library's (the executable's definitions win over it for
// a loaded plug-in too). A thread that watches records every lock object a
// call outside the tool itself takes, and every call that had to wait: a
// lock found taken, a condition or semaphore wait. Nothing here allocates,
// and nothing calls back into the interposed functions. Sanitizer builds
// intercept these functions themselves, so they are left alone there.
#include "Probes.h"

#include <dlfcn.h>
#include <link.h>
#include <pthread.h>
#include <semaphore.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <cstdint>
#include <ctime>

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define QV_VALIDATE_NO_INTERPOSE 1
#endif
#if defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define QV_VALIDATE_NO_INTERPOSE 1
#endif
#endif

namespace
{
using aaxtool::LockUse;
using aaxtool::LockWatch;

// Initial-exec thread-local storage: reading it never allocates.
__thread LockWatch tWatch = LockWatch::kOff;

// One table per kind of watching thread; one thread writes each at a time.
struct Table
{
  LockUse uses[aaxtool::kMaxLocksSeen];
  std::atomic<int> count{0};
  std::atomic<unsigned long> waits{0};
  LockUse firstWait;
};
Table gRender, gHost;

#ifndef QV_VALIDATE_NO_INTERPOSE
// Where the tool's own code is mapped: calls from there are the host's.
uintptr_t gToolBegin = 0, gToolEnd = 0;

bool FromTool(const void* caller)
{
  const auto a = reinterpret_cast<uintptr_t>(caller);
  return a >= gToolBegin && a < gToolEnd;
}

Table* Watching(const void* caller)
{
  if (tWatch == LockWatch::kOff || FromTool(caller)) return nullptr;
  return tWatch == LockWatch::kRender ? &gRender : &gHost;
}

void Note(Table& t, const void* lock, const char* op, bool mutex, const void* caller, bool waited)
{
  // The try calls answer at once whether the lock is free; every other
  // call named here may wait for it.
  const bool blocking = std::strstr(op, "try") == nullptr;
  if (waited && t.waits.fetch_add(1) == 0) t.firstWait = {lock, op, 1, caller, mutex, blocking};
  const int n = t.count.load();
  for (int i = 0; i < n; ++i)
    if (t.uses[i].lock == lock)
    {
      ++t.uses[i].count;
      t.uses[i].blocking = t.uses[i].blocking || blocking;
      return;
    }
  if (n == aaxtool::kMaxLocksSeen) return;
  t.uses[n] = {lock, op, 1, caller, mutex, blocking};
  t.count.store(n + 1);
}

int ToolRange(dl_phdr_info* info, size_t, void*)
{
  // The first object is the executable itself.
  uintptr_t lo = UINTPTR_MAX, hi = 0;
  for (int i = 0; i < info->dlpi_phnum; ++i)
  {
    const ElfW(Phdr)& p = info->dlpi_phdr[i];
    if (p.p_type != PT_LOAD) continue;
    const uintptr_t begin = info->dlpi_addr + p.p_vaddr;
    if (begin < lo) lo = begin;
    if (begin + p.p_memsz > hi) hi = begin + p.p_memsz;
  }
  gToolBegin = lo;
  gToolEnd = hi;
  return 1;
}

// The C library's functions, looked up once before main (or at the first
// call, when a library's constructor locks earlier). The dynamic loader's
// look-up takes its own locks directly, never through these.

template <typename F> F Next(const char* name)
{
  return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}
struct Real
{
  int (*mutexLock)(pthread_mutex_t*);
  int (*mutexTry)(pthread_mutex_t*);
  int (*mutexTimed)(pthread_mutex_t*, const timespec*);
  int (*mutexClock)(pthread_mutex_t*, clockid_t, const timespec*);
  int (*rd)(pthread_rwlock_t*);
  int (*wr)(pthread_rwlock_t*);
  int (*tryRd)(pthread_rwlock_t*);
  int (*tryWr)(pthread_rwlock_t*);
  int (*timedRd)(pthread_rwlock_t*, const timespec*);
  int (*timedWr)(pthread_rwlock_t*, const timespec*);
  int (*clockRd)(pthread_rwlock_t*, clockid_t, const timespec*);
  int (*clockWr)(pthread_rwlock_t*, clockid_t, const timespec*);
  int (*condWait)(pthread_cond_t*, pthread_mutex_t*);
  int (*condTimed)(pthread_cond_t*, pthread_mutex_t*, const timespec*);
  int (*condClock)(pthread_cond_t*, pthread_mutex_t*, clockid_t, const timespec*);
  int (*semWait)(sem_t*);
  int (*semTry)(sem_t*);
  int (*semTimed)(sem_t*, const timespec*);
  int (*semClock)(sem_t*, clockid_t, const timespec*);
  int (*spin)(pthread_spinlock_t*);
  int (*spinTry)(pthread_spinlock_t*);
};
Real gReal;
std::atomic<bool> gResolved{false};

const Real& R()
{
  if (!gResolved.load(std::memory_order_acquire))
  {
    Real r;
    r.mutexLock = Next<decltype(r.mutexLock)>("pthread_mutex_lock");
    r.mutexTry = Next<decltype(r.mutexTry)>("pthread_mutex_trylock");
    r.mutexTimed = Next<decltype(r.mutexTimed)>("pthread_mutex_timedlock");
    r.mutexClock = Next<decltype(r.mutexClock)>("pthread_mutex_clocklock");
    r.rd = Next<decltype(r.rd)>("pthread_rwlock_rdlock");
    r.wr = Next<decltype(r.wr)>("pthread_rwlock_wrlock");
    r.tryRd = Next<decltype(r.tryRd)>("pthread_rwlock_tryrdlock");
    r.tryWr = Next<decltype(r.tryWr)>("pthread_rwlock_trywrlock");
    r.timedRd = Next<decltype(r.timedRd)>("pthread_rwlock_timedrdlock");
    r.timedWr = Next<decltype(r.timedWr)>("pthread_rwlock_timedwrlock");
    r.clockRd = Next<decltype(r.clockRd)>("pthread_rwlock_clockrdlock");
    r.clockWr = Next<decltype(r.clockWr)>("pthread_rwlock_clockwrlock");
    r.condWait = Next<decltype(r.condWait)>("pthread_cond_wait");
    r.condTimed = Next<decltype(r.condTimed)>("pthread_cond_timedwait");
    r.condClock = Next<decltype(r.condClock)>("pthread_cond_clockwait");
    r.semWait = Next<decltype(r.semWait)>("sem_wait");
    r.semTry = Next<decltype(r.semTry)>("sem_trywait");
    r.semTimed = Next<decltype(r.semTimed)>("sem_timedwait");
    r.semClock = Next<decltype(r.semClock)>("sem_clockwait");
    r.spin = Next<decltype(r.spin)>("pthread_spin_lock");
    r.spinTry = Next<decltype(r.spinTry)>("pthread_spin_trylock");
    gReal = r;
    gResolved.store(true, std::memory_order_release);
  }
  return gReal;
}

__attribute__((constructor(101))) void Resolve()
{
  dl_iterate_phdr(&ToolRange, nullptr);
  R();
}

// A blocking lock call on a watching thread: tries first, so a lock found
// taken counts as a wait; then blocks as asked.
template <typename L, typename Try, typename Block>
int Locked(L* lock, const char* op, bool mutex, const void* caller, Try tryLock, Block block)
{
  Table* t = Watching(caller);
  if (!t) return block();
  const int r = tryLock(lock);
  // A lock the thread already holds (a recursive mutex) is not a wait;
  // EBUSY and EAGAIN are, and any other answer is the blocking call's to give.
  const bool busy = r == EBUSY || r == EAGAIN || (r == -1 && errno == EAGAIN);
  Note(*t, const_cast<const void*>(static_cast<const volatile void*>(lock)), op, mutex, caller,
       busy);
  // A robust mutex whose owner died is taken, with that news.
  return r == 0 || r == EOWNERDEAD ? r : block();
}

// A wait that always blocks (a condition).
template <typename Block>
int Waited(const void* object, const char* op, const void* caller, Block block)
{
  if (Table* t = Watching(caller)) Note(*t, object, op, false, caller, true);
  return block();
}
#endif
} // namespace

namespace aaxtool
{
bool LocksCountable()
{
#ifdef QV_VALIDATE_NO_INTERPOSE
  return false;
#else
  return true;
#endif
}
void WatchLocks(LockWatch what) { tWatch = what; }
void ResetLocks()
{
  for (Table* t : {&gRender, &gHost})
  {
    t->count = 0;
    t->waits = 0;
    t->firstWait = LockUse{};
  }
}
LockReport Locks()
{
  LockReport r;
  r.render.assign(gRender.uses, gRender.uses + gRender.count.load());
  r.host.assign(gHost.uses, gHost.uses + gHost.count.load());
  r.waits = gRender.waits.load();
  r.firstWait = gRender.firstWait;
  return r;
}
} // namespace aaxtool

#ifndef QV_VALIDATE_NO_INTERPOSE
#define QV_CALLER __builtin_return_address(0)
// Not inlined, so the return address is the caller's.
extern "C"
{
  __attribute__((noinline)) int pthread_mutex_lock(pthread_mutex_t* m) noexcept
  {
    return Locked(m, "pthread_mutex_lock", true, QV_CALLER, R().mutexTry,
                  [m] { return R().mutexLock(m); });
  }
  __attribute__((noinline)) int pthread_mutex_trylock(pthread_mutex_t* m) noexcept
  {
    const int r = R().mutexTry(m);
    if (Table* t = Watching(QV_CALLER); t && r == 0)
      Note(*t, m, "pthread_mutex_trylock", true, QV_CALLER, false);
    return r;
  }
  __attribute__((noinline)) int pthread_mutex_timedlock(pthread_mutex_t* m,
                                                        const timespec* at) noexcept
  {
    return Locked(m, "pthread_mutex_timedlock", true, QV_CALLER, R().mutexTry,
                  [m, at] { return R().mutexTimed(m, at); });
  }
  __attribute__((noinline)) int pthread_mutex_clocklock(pthread_mutex_t* m, clockid_t c,
                                                        const timespec* at) noexcept
  {
    return Locked(m, "pthread_mutex_clocklock", true, QV_CALLER, R().mutexTry,
                  [m, c, at] { return R().mutexClock(m, c, at); });
  }
  __attribute__((noinline)) int pthread_rwlock_rdlock(pthread_rwlock_t* l) noexcept
  {
    return Locked(l, "pthread_rwlock_rdlock", false, QV_CALLER, R().tryRd,
                  [l] { return R().rd(l); });
  }
  __attribute__((noinline)) int pthread_rwlock_wrlock(pthread_rwlock_t* l) noexcept
  {
    return Locked(l, "pthread_rwlock_wrlock", false, QV_CALLER, R().tryWr,
                  [l] { return R().wr(l); });
  }
  __attribute__((noinline)) int pthread_rwlock_tryrdlock(pthread_rwlock_t* l) noexcept
  {
    const int r = R().tryRd(l);
    if (Table* t = Watching(QV_CALLER); t && r == 0)
      Note(*t, l, "pthread_rwlock_tryrdlock", false, QV_CALLER, false);
    return r;
  }
  __attribute__((noinline)) int pthread_rwlock_trywrlock(pthread_rwlock_t* l) noexcept
  {
    const int r = R().tryWr(l);
    if (Table* t = Watching(QV_CALLER); t && r == 0)
      Note(*t, l, "pthread_rwlock_trywrlock", false, QV_CALLER, false);
    return r;
  }
  __attribute__((noinline)) int pthread_rwlock_timedrdlock(pthread_rwlock_t* l,
                                                           const timespec* at) noexcept
  {
    return Locked(l, "pthread_rwlock_timedrdlock", false, QV_CALLER, R().tryRd,
                  [l, at] { return R().timedRd(l, at); });
  }
  __attribute__((noinline)) int pthread_rwlock_timedwrlock(pthread_rwlock_t* l,
                                                           const timespec* at) noexcept
  {
    return Locked(l, "pthread_rwlock_timedwrlock", false, QV_CALLER, R().tryWr,
                  [l, at] { return R().timedWr(l, at); });
  }
  __attribute__((noinline)) int pthread_rwlock_clockrdlock(pthread_rwlock_t* l, clockid_t c,
                                                           const timespec* at) noexcept
  {
    return Locked(l, "pthread_rwlock_clockrdlock", false, QV_CALLER, R().tryRd,
                  [l, c, at] { return R().clockRd(l, c, at); });
  }
  __attribute__((noinline)) int pthread_rwlock_clockwrlock(pthread_rwlock_t* l, clockid_t c,
                                                           const timespec* at) noexcept
  {
    return Locked(l, "pthread_rwlock_clockwrlock", false, QV_CALLER, R().tryWr,
                  [l, c, at] { return R().clockWr(l, c, at); });
  }
  __attribute__((noinline)) int pthread_cond_wait(pthread_cond_t* c, pthread_mutex_t* m)
  {
    return Waited(c, "pthread_cond_wait", QV_CALLER, [c, m] { return R().condWait(c, m); });
  }
  __attribute__((noinline)) int pthread_cond_timedwait(pthread_cond_t* c, pthread_mutex_t* m,
                                                       const timespec* at)
  {
    return Waited(c, "pthread_cond_timedwait", QV_CALLER,
                  [c, m, at] { return R().condTimed(c, m, at); });
  }
  __attribute__((noinline)) int pthread_cond_clockwait(pthread_cond_t* c, pthread_mutex_t* m,
                                                       clockid_t k, const timespec* at)
  {
    return Waited(c, "pthread_cond_clockwait", QV_CALLER,
                  [c, m, k, at] { return R().condClock(c, m, k, at); });
  }
  __attribute__((noinline)) int sem_wait(sem_t* s)
  {
    return Locked(s, "sem_wait", false, QV_CALLER, R().semTry, [s] { return R().semWait(s); });
  }
  __attribute__((noinline)) int sem_timedwait(sem_t* s, const timespec* at)
  {
    return Locked(s, "sem_timedwait", false, QV_CALLER, R().semTry,
                  [s, at] { return R().semTimed(s, at); });
  }
  __attribute__((noinline)) int sem_clockwait(sem_t* s, clockid_t c, const timespec* at)
  {
    return Locked(s, "sem_clockwait", false, QV_CALLER, R().semTry,
                  [s, c, at] { return R().semClock(s, c, at); });
  }
  __attribute__((noinline)) int pthread_spin_lock(pthread_spinlock_t* l) noexcept
  {
    return Locked(l, "pthread_spin_lock", false, QV_CALLER, R().spinTry,
                  [l] { return R().spin(l); });
  }
}
#endif
