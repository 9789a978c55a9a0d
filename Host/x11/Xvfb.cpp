#include "Xvfb.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace aaxtool
{
namespace
{
long NowMs()
{
  using namespace std::chrono;
  return static_cast<long>(
      duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

// Xvfb's full path from PATH (resolved before fork: the child may only make
// async-signal-safe calls); empty when missing.
std::string FindXvfb()
{
  const char* path = std::getenv("PATH");
  std::string dirs = path ? path : "/usr/bin:/bin";
  size_t start = 0;
  while (start <= dirs.size())
  {
    size_t end = dirs.find(':', start);
    if (end == std::string::npos) end = dirs.size();
    const std::string candidate =
        (end == start ? std::string(".") : dirs.substr(start, end - start)) + "/Xvfb";
    if (access(candidate.c_str(), X_OK) == 0) return candidate;
    start = end + 1;
  }
  return {};
}

// PR_SET_PDEATHSIG fires when the thread that forked ends, not the process.
// The main thread lives as long as the process; any other caller forks on a
// thread of its own that never ends.
class LifelongThread
{
public:
  static void Run(const std::function<void()>& job)
  {
    static LifelongThread* sThread = new LifelongThread; // never destroyed
    sThread->Call(job);
  }

private:
  LifelongThread()
  {
    std::thread(
        [this]
        {
          for (;;)
          {
            std::unique_lock<std::mutex> lock(mMutex);
            mWake.wait(lock, [this] { return mJob != nullptr; });
            (*mJob)();
            mJob = nullptr;
            mWake.notify_all();
          }
        })
        .detach();
  }

  void Call(const std::function<void()>& job)
  {
    std::lock_guard<std::mutex> one(mCallMutex);
    std::unique_lock<std::mutex> lock(mMutex);
    mJob = &job;
    mWake.notify_all();
    mWake.wait(lock, [this] { return mJob == nullptr; });
  }

  std::mutex mCallMutex, mMutex;
  std::condition_variable mWake;
  const std::function<void()>* mJob = nullptr;
};

bool IsMainThread() { return syscall(SYS_gettid) == getpid(); }

pid_t ForkXvfb(const std::string& binary, const std::vector<std::string>& args, int displayFd)
{
  std::vector<char*> argv;
  for (const std::string& a : args)
    argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  const pid_t parent = getpid();
  const pid_t pid = fork();
  if (pid != 0) return pid;
  // The child: async-signal-safe calls only until exec.
  prctl(PR_SET_PDEATHSIG, SIGTERM);
  if (getppid() != parent) _exit(127); // the starter is already gone
  sigset_t none;
  sigemptyset(&none);
  sigprocmask(SIG_SETMASK, &none, nullptr);
  if (displayFd == 3)
    fcntl(3, F_SETFD, 0);
  else
    dup2(displayFd, 3);
  const int null = open("/dev/null", O_WRONLY);
  if (null >= 0)
  {
    dup2(null, 1);
    dup2(null, 2);
  }
  execv(binary.c_str(), argv.data());
  _exit(127);
}
} // namespace

bool StartXvfb(const std::string& screen, XvfbProcess* out, std::string* why)
{
  const std::string binary = FindXvfb();
  if (binary.empty())
  {
    *why = "Xvfb is not installed (install the xvfb package)";
    return false;
  }
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0)
  {
    *why = "cannot start Xvfb (pipe failed)";
    return false;
  }
  const std::vector<std::string> args = {"Xvfb", "-displayfd", "3",   "-screen", "0",
                                         screen, "-nolisten",  "tcp", "-noreset"};
  pid_t pid = -1;
  if (IsMainThread())
    pid = ForkXvfb(binary, args, fds[1]);
  else
    LifelongThread::Run([&] { pid = ForkXvfb(binary, args, fds[1]); });
  close(fds[1]);
  if (pid < 0)
  {
    close(fds[0]);
    *why = "cannot start Xvfb (fork failed)";
    return false;
  }
  // Xvfb writes the display number and a newline once it accepts clients.
  std::string number;
  const long deadline = NowMs() + 10000;
  while (number.find('\n') == std::string::npos && NowMs() < deadline)
  {
    pollfd p{fds[0], POLLIN, 0};
    if (poll(&p, 1, 100) <= 0) continue;
    char buf[32];
    const ssize_t n = read(fds[0], buf, sizeof buf);
    if (n <= 0) break;
    number.append(buf, static_cast<size_t>(n));
  }
  close(fds[0]);
  if (number.find('\n') == std::string::npos)
  {
    XvfbProcess failed{pid, {}};
    StopXvfb(&failed);
    *why = "Xvfb reported no display within 10 s";
    return false;
  }
  out->pid = pid;
  out->display = ":" + number.substr(0, number.find('\n'));
  return true;
}

void StopXvfb(XvfbProcess* x)
{
  if (x->pid <= 0) return;
  kill(x->pid, SIGTERM);
  while (waitpid(x->pid, nullptr, 0) < 0 && errno == EINTR)
  {
  }
  x->pid = -1;
}
} // namespace aaxtool
