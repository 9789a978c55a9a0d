// System-call counting for validate. A thread of its own installs a seccomp
// filter that traps every system call it makes (SIGSYS) except those made
// from one instruction of the tool's, the raw call the trap handler uses to
// perform the trapped call for the thread; rt_sigreturn, which ends the
// handler, passes too. The filter lasts as long as the thread and binds no
// other thread. While counting is on, the handler notes each call the tool
// did not make itself. Calls the C library answers in user space (the vDSO
// clocks) are no system calls and are never seen.
#include "Probes.h"

#include "ToolError.h"

#include <dlfcn.h>
#include <execinfo.h>
#include <linux/audit.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <ucontext.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <exception>
#include <thread>

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define QV_VALIDATE_NO_TRAP 1
#endif
#if defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define QV_VALIDATE_NO_TRAP 1
#endif
#endif
#if !defined(__x86_64__)
#define QV_VALIDATE_NO_TRAP 1
#endif

#ifndef QV_VALIDATE_NO_TRAP
// qv_raw_syscall(number, a1..a6): the one system call instruction the filter
// lets through; qv_raw_syscall_end is the address right after it, which is
// the instruction pointer the filter sees.
asm(R"(
  .text
  .globl qv_raw_syscall
  .hidden qv_raw_syscall
  .type qv_raw_syscall, @function
qv_raw_syscall:
  movq %rdi, %rax
  movq %rsi, %rdi
  movq %rdx, %rsi
  movq %rcx, %rdx
  movq %r8, %r10
  movq %r9, %r8
  movq 8(%rsp), %r9
  syscall
  .globl qv_raw_syscall_end
  .hidden qv_raw_syscall_end
qv_raw_syscall_end:
  ret
  .size qv_raw_syscall, .-qv_raw_syscall
)");
extern "C" long qv_raw_syscall(long nr, long a, long b, long c, long d, long e, long f);
extern "C" char qv_raw_syscall_end[];
#endif

namespace
{
__thread bool tCounting = false;

std::atomic<unsigned long> gCalls{0};
long gFirstNumber = -1;
constexpr int kFrames = 16;
void* gFirst[kFrames];
int gFirstDepth = 0, gFirstFrom = 0;

#ifndef QV_VALIDATE_NO_TRAP
__thread bool tInHandler = false;
// Where the tool's own code is loaded, to tell the host's calls from the
// plug-in's; set before any thread traps.
uintptr_t gToolBase = 0;

// Names of the calls a render path is likely to make; others by number.
const struct
{
  long number;
  const char* name;
} kCallNames[] = {
    {SYS_read, "read"},
    {SYS_write, "write"},
    {SYS_open, "open"},
    {SYS_openat, "openat"},
    {SYS_close, "close"},
    {SYS_stat, "stat"},
    {SYS_fstat, "fstat"},
    {SYS_newfstatat, "newfstatat"},
    {SYS_lseek, "lseek"},
    {SYS_mmap, "mmap"},
    {SYS_mprotect, "mprotect"},
    {SYS_munmap, "munmap"},
    {SYS_mremap, "mremap"},
    {SYS_madvise, "madvise"},
    {SYS_brk, "brk"},
    {SYS_ioctl, "ioctl"},
    {SYS_pread64, "pread64"},
    {SYS_pwrite64, "pwrite64"},
    {SYS_readv, "readv"},
    {SYS_writev, "writev"},
    {SYS_access, "access"},
    {SYS_pipe, "pipe"},
    {SYS_pipe2, "pipe2"},
    {SYS_select, "select"},
    {SYS_poll, "poll"},
    {SYS_ppoll, "ppoll"},
    {SYS_epoll_wait, "epoll_wait"},
    {SYS_sched_yield, "sched_yield"},
    {SYS_nanosleep, "nanosleep"},
    {SYS_clock_nanosleep, "clock_nanosleep"},
    {SYS_clock_gettime, "clock_gettime"},
    {SYS_gettimeofday, "gettimeofday"},
    {SYS_getpid, "getpid"},
    {SYS_gettid, "gettid"},
    {SYS_getppid, "getppid"},
    {SYS_getuid, "getuid"},
    {SYS_socket, "socket"},
    {SYS_connect, "connect"},
    {SYS_sendto, "sendto"},
    {SYS_recvfrom, "recvfrom"},
    {SYS_sendmsg, "sendmsg"},
    {SYS_recvmsg, "recvmsg"},
    {SYS_futex, "futex"},
    {SYS_clone, "clone"},
    {SYS_clone3, "clone3"},
    {SYS_fork, "fork"},
    {SYS_vfork, "vfork"},
    {SYS_execve, "execve"},
    {SYS_kill, "kill"},
    {SYS_tgkill, "tgkill"},
    {SYS_rt_sigaction, "rt_sigaction"},
    {SYS_rt_sigprocmask, "rt_sigprocmask"},
    {SYS_getrandom, "getrandom"},
    {SYS_prctl, "prctl"},
    {SYS_sched_setaffinity, "sched_setaffinity"},
    {SYS_sched_getaffinity, "sched_getaffinity"},
    {SYS_setpriority, "setpriority"},
    {SYS_getrusage, "getrusage"},
    {SYS_times, "times"},
    {SYS_sysinfo, "sysinfo"},
    {SYS_uname, "uname"},
    {SYS_fsync, "fsync"},
    {SYS_fdatasync, "fdatasync"},
    {SYS_unlink, "unlink"},
    {SYS_rename, "rename"},
    {SYS_mkdir, "mkdir"},
    {SYS_getdents64, "getdents64"},
    {SYS_exit, "exit"},
    {SYS_exit_group, "exit_group"},
};

const char* CallName(long nr)
{
  for (const auto& c : kCallNames)
    if (c.number == nr) return c.name;
  return nullptr;
}

// The first counted call's stack, for its name in the failure; later calls
// are only counted. The unwinder was warmed up before the filter went on.
void Note(long nr, greg_t ip)
{
  void* frames[kFrames];
  const int depth = backtrace(frames, kFrames);
  // The stack above the handler starts at the interrupted instruction; the
  // first frame there outside the runtime libraries says who made the call.
  int from = 0;
  for (int i = 0; i < depth && from == 0; ++i)
    if (frames[i] == reinterpret_cast<void*>(ip)) from = i;
  const uintptr_t tool = gToolBase;
  for (int i = from; i < depth; ++i)
  {
    Dl_info info{};
    if (!dladdr(frames[i], &info) || !info.dli_fname) continue;
    // The C and C++ runtimes work for whoever called them (strstr is
    // pure, safe in a signal handler).
    const char* f = info.dli_fname;
    if (std::strstr(f, "/libc.so") || std::strstr(f, "libstdc++") || std::strstr(f, "libgcc_s") ||
        std::strstr(f, "/libm.so"))
      continue;
    if (reinterpret_cast<uintptr_t>(info.dli_fbase) == tool) return; // the host's call
    break;
  }
  if (gCalls.fetch_add(1) != 0) return;
  gFirstNumber = nr;
  for (int i = 0; i < depth; ++i)
    gFirst[i] = frames[i];
  gFirstDepth = depth;
  gFirstFrom = from;
}

void OnTrap(int, siginfo_t* info, void* context)
{
  const int savedErrno = errno;
  greg_t* r = static_cast<ucontext_t*>(context)->uc_mcontext.gregs;
  const long nr = info->si_syscall;
  if (tCounting && !tInHandler)
  {
    tInHandler = true;
    Note(nr, r[REG_RIP]);
    tInHandler = false;
  }
  switch (nr)
  {
  // A new process or thread would start inside this handler, on a stack
  // that is not its own; such calls are refused instead.
  case SYS_clone:
  case SYS_clone3:
  case SYS_fork:
  case SYS_vfork:
  case SYS_execve:
  case SYS_execveat:
    r[REG_RAX] = -ENOSYS;
    break;
  default:
    r[REG_RAX] =
        qv_raw_syscall(nr, r[REG_RDI], r[REG_RSI], r[REG_RDX], r[REG_R10], r[REG_R8], r[REG_R9]);
  }
  errno = savedErrno;
}

// Traps every call of this thread but the raw call's and rt_sigreturn.
bool InstallFilter()
{
  const auto end = reinterpret_cast<uint64_t>(qv_raw_syscall_end);
  const uint32_t hi = static_cast<uint32_t>(end >> 32), lo = static_cast<uint32_t>(end);
  constexpr uint32_t kIPLow = offsetof(seccomp_data, instruction_pointer);
  sock_filter code[] = {
      BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, arch)),
      // Calls of another architecture's ABI cannot be performed for it.
      BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, AUDIT_ARCH_X86_64, 1, 0),
      BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
      BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
      BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, SYS_rt_sigreturn, 5, 0),
      BPF_STMT(BPF_LD | BPF_W | BPF_ABS, kIPLow + 4),
      BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, hi, 0, 2),
      BPF_STMT(BPF_LD | BPF_W | BPF_ABS, kIPLow),
      BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, lo, 1, 0),
      BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_TRAP),
      BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
  };
  sock_fprog program{static_cast<unsigned short>(sizeof code / sizeof code[0]), code};
  if (prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0) return false;
  return syscall(SYS_seccomp, SECCOMP_SET_MODE_FILTER, 0, &program) == 0;
}
#endif
} // namespace

namespace aaxtool
{
bool SystemCallsCountable()
{
#ifdef QV_VALIDATE_NO_TRAP
  return false;
#else
  // Whether this kernel (and whatever confines the process) lets a thread
  // install a filter: one that allows everything, on a thread of its own.
  static const bool countable = []
  {
    bool ok = false;
    std::thread probe(
        [&ok]
        {
          sock_filter allow = BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW);
          sock_fprog program{1, &allow};
          ok = prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0 &&
               syscall(SYS_seccomp, SECCOMP_SET_MODE_FILTER, 0, &program) == 0;
        });
    probe.join();
    return ok;
  }();
  return countable;
#endif
}

void RunTrappingSystemCalls(const std::function<void()>& body)
{
#ifdef QV_VALIDATE_NO_TRAP
  (void)body;
  Fail("system calls cannot be trapped in this build");
#else
  {
    // The handler is the process's, but only a trapping thread is ever sent
    // SIGSYS by its filter. It may trap itself (SA_NODEFER): those calls go
    // straight through.
    struct sigaction sa = {};
    sa.sa_sigaction = &OnTrap;
    sa.sa_flags = SA_SIGINFO | SA_NODEFER | SA_RESTART;
    sigemptyset(&sa.sa_mask);
    if (sigaction(SIGSYS, &sa, nullptr) != 0) Fail("no handler for SIGSYS");
    // The unwinder loads and allocates on its first use; not in the handler.
    void* frames[2];
    backtrace(frames, 2);
    Dl_info self{};
    dladdr(reinterpret_cast<void*>(&OnTrap), &self);
    gToolBase = reinterpret_cast<uintptr_t>(self.dli_fbase);
  }
  std::exception_ptr error;
  bool installed = false;
  std::thread t(
      [&]
      {
        sigset_t sys;
        sigemptyset(&sys);
        sigaddset(&sys, SIGSYS);
        pthread_sigmask(SIG_UNBLOCK, &sys, nullptr);
        if (!InstallFilter()) return;
        installed = true;
        try
        {
          body();
        }
        catch (...)
        {
          error = std::current_exception();
        }
        CountSystemCalls(false);
      });
  t.join();
  if (!installed) Fail("the kernel refused the system-call filter");
  if (error) std::rethrow_exception(error);
#endif
}

void CountSystemCalls(bool on) { tCounting = on; }
unsigned long SystemCalls() { return gCalls.load(); }
void ResetSystemCalls()
{
  gCalls = 0;
  gFirstNumber = -1;
  gFirstDepth = 0;
}

std::string FirstSystemCall()
{
  if (gFirstNumber < 0) return "";
  std::string name;
#ifndef QV_VALIDATE_NO_TRAP
  if (const char* n = CallName(gFirstNumber)) name = n;
#endif
  std::string out =
      (name.empty() ? "system call" : name) + " (" + std::to_string(gFirstNumber) + ")";
  const std::string site = NameFrames(gFirst, gFirstDepth, gFirstFrom);
  return site.empty() ? out : out + " in " + site;
}
} // namespace aaxtool
