// System-call counting for validate. A thread of its own installs a seccomp
// filter that traps every system call it makes (SIGSYS) except those made
// from one instruction of the tool's, the raw call the trap handler uses to
// perform the trapped call for the thread; rt_sigreturn, which ends the
// handler, passes too. The filter lasts as long as the thread and binds no
// other thread. While counting is on, the handler notes each call the tool
// did not make itself. Calls the C library answers in user space (the vDSO
// clocks) are no system calls and are never seen.
#include "Validate.h"

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

const char* CallName(long nr)
{
  switch (nr)
  {
  case SYS_read: return "read";
  case SYS_write: return "write";
  case SYS_open: return "open";
  case SYS_openat: return "openat";
  case SYS_close: return "close";
  case SYS_stat: return "stat";
  case SYS_fstat: return "fstat";
  case SYS_newfstatat: return "newfstatat";
  case SYS_lseek: return "lseek";
  case SYS_mmap: return "mmap";
  case SYS_mprotect: return "mprotect";
  case SYS_munmap: return "munmap";
  case SYS_mremap: return "mremap";
  case SYS_madvise: return "madvise";
  case SYS_brk: return "brk";
  case SYS_ioctl: return "ioctl";
  case SYS_pread64: return "pread64";
  case SYS_pwrite64: return "pwrite64";
  case SYS_readv: return "readv";
  case SYS_writev: return "writev";
  case SYS_access: return "access";
  case SYS_pipe: return "pipe";
  case SYS_pipe2: return "pipe2";
  case SYS_select: return "select";
  case SYS_poll: return "poll";
  case SYS_ppoll: return "ppoll";
  case SYS_epoll_wait: return "epoll_wait";
  case SYS_sched_yield: return "sched_yield";
  case SYS_nanosleep: return "nanosleep";
  case SYS_clock_nanosleep: return "clock_nanosleep";
  case SYS_clock_gettime: return "clock_gettime";
  case SYS_gettimeofday: return "gettimeofday";
  case SYS_getpid: return "getpid";
  case SYS_gettid: return "gettid";
  case SYS_getppid: return "getppid";
  case SYS_getuid: return "getuid";
  case SYS_socket: return "socket";
  case SYS_connect: return "connect";
  case SYS_sendto: return "sendto";
  case SYS_recvfrom: return "recvfrom";
  case SYS_sendmsg: return "sendmsg";
  case SYS_recvmsg: return "recvmsg";
  case SYS_futex: return "futex";
  case SYS_clone: return "clone";
  case SYS_clone3: return "clone3";
  case SYS_fork: return "fork";
  case SYS_vfork: return "vfork";
  case SYS_execve: return "execve";
  case SYS_kill: return "kill";
  case SYS_tgkill: return "tgkill";
  case SYS_rt_sigaction: return "rt_sigaction";
  case SYS_rt_sigprocmask: return "rt_sigprocmask";
  case SYS_getrandom: return "getrandom";
  case SYS_prctl: return "prctl";
  case SYS_sched_setaffinity: return "sched_setaffinity";
  case SYS_sched_getaffinity: return "sched_getaffinity";
  case SYS_setpriority: return "setpriority";
  case SYS_getrusage: return "getrusage";
  case SYS_times: return "times";
  case SYS_sysinfo: return "sysinfo";
  case SYS_uname: return "uname";
  case SYS_fsync: return "fsync";
  case SYS_fdatasync: return "fdatasync";
  case SYS_unlink: return "unlink";
  case SYS_rename: return "rename";
  case SYS_mkdir: return "mkdir";
  case SYS_getdents64: return "getdents64";
  case SYS_exit: return "exit";
  case SYS_exit_group: return "exit_group";
  default: return nullptr;
  }
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
  case SYS_execveat: r[REG_RAX] = -ENOSYS; break;
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
  std::string out = (name.empty() ? "system call" : name) + " (" + std::to_string(gFirstNumber) + ")";
  const std::string site = NameFrames(gFirst, gFirstDepth, gFirstFrom);
  return site.empty() ? out : out + " in " + site;
}
} // namespace aaxtool
