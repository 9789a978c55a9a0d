// Runs ended from outside: a render interrupted by a signal leaves no
// temporary output and dies of that signal; an Xvfb the tool started dies
// with the tool even when the tool is killed outright.

#include "tool_run.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <thread>

namespace
{
// Starts the tool with args, stdout and stderr to /dev/null, no DISPLAY.
pid_t Start(const std::vector<std::string>& args)
{
  const pid_t pid = fork();
  if (pid == 0)
  {
    const int null = open("/dev/null", O_RDWR);
    dup2(null, 0);
    dup2(null, 1);
    dup2(null, 2);
    unsetenv("DISPLAY");
    std::vector<char*> argv{const_cast<char*>(QV_AAXHOST)};
    for (const std::string& a : args)
      argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(QV_AAXHOST, argv.data());
    _exit(127);
  }
  return pid;
}

// Waits up to 20 s until pred holds.
template <class F> bool WaitFor(F pred)
{
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!pred())
  {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

std::vector<pid_t> ChildrenOf(pid_t parent)
{
  std::vector<pid_t> out;
  std::ifstream f("/proc/" + std::to_string(parent) + "/task/" + std::to_string(parent) +
                  "/children");
  for (pid_t p; f >> p;)
    out.push_back(p);
  return out;
}

bool Alive(pid_t pid)
{
  // A zombie is dead: only a running process has a non-Z state.
  std::ifstream f("/proc/" + std::to_string(pid) + "/stat");
  std::string line;
  std::getline(f, line);
  const size_t paren = line.rfind(')');
  return paren != std::string::npos && line.size() > paren + 2 && line[paren + 2] != 'Z';
}
} // namespace

TEST(AaxhostSignals, InterruptedRendersRemoveEveryTemporaryAndDieOfTheSignal)
{
  const std::string dir = TempFolder();
  // Long enough at one frame per render call to be caught mid-render.
  WriteAudio(dir + "/a.wav", TestStereo(48000 * 30), SF_FORMAT_WAV | SF_FORMAT_FLOAT);
  WriteAudio(dir + "/b.wav", TestStereo(48000 * 30), SF_FORMAT_WAV | SF_FORMAT_FLOAT);
  struct Case
  {
    int sig;
    std::vector<std::string> args;
    size_t temporaries;
  };
  const std::string out = dir + "/out";
  const Case cases[] = {
      {SIGINT, {"process", kBundle, dir + "/a.wav", "-o", out + "/x.wav", "--block", "1"}, 1},
      {SIGTERM, {"process", kBundle, dir + "/a.wav", "-o", out + "/x.wav", "--block", "1"}, 1},
      {SIGHUP, {"process", kBundle, dir + "/a.wav", "-o", out + "/x.wav", "--block", "1"}, 1},
      {SIGINT,
       {"process", kBundle, dir + "/a.wav", dir + "/b.wav", "--out-dir", out, "-j", "2", "--block",
        "1"},
       2},
  };
  for (const Case& c : cases)
  {
    mkdir(out.c_str(), 0755);
    const pid_t pid = Start(c.args);
    ASSERT_TRUE(WaitFor([&] { return Entries(out).size() >= c.temporaries; }))
        << strsignal(c.sig) << ": no temporary output appeared";
    kill(pid, c.sig);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFSIGNALED(status)) << strsignal(c.sig) << ": exited " << WEXITSTATUS(status);
    EXPECT_EQ(WTERMSIG(status), c.sig);
    EXPECT_TRUE(Entries(out).empty()) << strsignal(c.sig) << ": " << Entries(out)[0];
    rmdir(out.c_str());
  }
}

TEST(AaxhostSignals, KilledEditorTakesItsXvfbWithIt)
{
  if (std::system("command -v Xvfb >/dev/null 2>&1") != 0) GTEST_SKIP() << "no Xvfb";
  const std::string dir = TempFolder();
  const pid_t pid = Start({"editor", kBundle, "--snapshot", dir + "/e.png"});
  pid_t xvfb = -1;
  ASSERT_TRUE(WaitFor(
      [&]
      {
        for (pid_t child : ChildrenOf(pid))
          xvfb = child;
        return xvfb > 0;
      }));
  kill(pid, SIGKILL);
  waitpid(pid, nullptr, 0);
  EXPECT_TRUE(WaitFor([&] { return !Alive(xvfb); })) << "Xvfb " << xvfb << " outlived the tool";
}

TEST(AaxhostSignals, InterruptedLv2StateSaveRemovesItsFolder)
{
  if (std::system("strace -o /dev/null true >/dev/null 2>&1") != 0)
    GTEST_SKIP() << "no strace, or no ptrace here";
  const std::string dir = TempFolder(), log = TempFolder() + "/trace";
  // strace fails the rename into place and sends SIGTERM: the signal comes
  // when lilv has written every file into the hidden folder.
  const RunResult r =
      Shell(dir, "strace -f -qq -o '" + log +
                     "' -e trace=rename,renameat,renameat2"
                     " -e inject=rename,renameat,renameat2:error=EINTR:signal=TERM"
                     " \"$AAXHOST\" state save '" QV_QUORVANE_LV2 "' s; echo \"died $?\"");
  EXPECT_EQ(r.out, "died 143\n") << r.err;
  EXPECT_NE(Slurp(log).find("\"./.s."), std::string::npos) << Slurp(log);
  EXPECT_TRUE(Entries(dir).empty()) << Entries(dir)[0];
}
