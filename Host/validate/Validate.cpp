// The validate runner: one child process per check, a timeout per check, one
// line per check (or JSON), exit 0 when every check passed.
#include "Validate.h"

#include "ToolError.h"

#include <nlohmann/json.hpp>

#if defined(__SANITIZE_ADDRESS__)
#define QV_VALIDATE_LEAK_CHECK 1
#include <sanitizer/lsan_interface.h>
#endif

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <exception>
#include <random>

namespace aaxtool
{
namespace
{
struct Outcome
{
  bool passed = false;
  bool skipped = false;
  bool warned = false; // passed, with an advisory finding in message
  bool noted = false;  // passed, with a note in message
  std::string message;
  double seconds = 0.0;
};

// Each check's random choices depend on the seed and its name only, so one
// check repeats alone exactly as it ran in the whole run.
uint64_t CheckSeed(uint64_t seed, const char* name)
{
  uint64_t h = 1469598103934665603ull;
  for (const char* c = name; *c; ++c)
    h = (h ^ static_cast<unsigned char>(*c)) * 1099511628211ull;
  return seed ^ h;
}

Outcome Finish(const std::string& result)
{
  Outcome o;
  o.passed = true;
  o.skipped = result.rfind("skipped", 0) == 0;
  o.message = result;
  return o;
}

Outcome Warned(const std::string& message)
{
  Outcome o;
  o.passed = true;
  o.warned = true;
  o.message = message;
  return o;
}

Outcome Noted(const std::string& message)
{
  Outcome o;
  o.passed = true;
  o.noted = true;
  o.message = message;
  return o;
}

Outcome RunInProcess(const Check& check, CheckContext& ctx)
{
  std::string step;
  ctx.step = [&](const std::string& s) { step = s; };
  try
  {
    return Finish(check.run(ctx));
  }
  catch (const Advisory& e)
  {
    return Warned(e.what());
  }
  catch (const Notice& e)
  {
    return Noted(e.what());
  }
  catch (const std::exception& e)
  {
    Outcome o;
    o.message = e.what();
    return o;
  }
}

void WriteAll(int fd, const std::string& text)
{
  const char* p = text.data();
  size_t left = text.size();
  while (left > 0)
  {
    const ssize_t n = write(fd, p, left);
    if (n <= 0) return;
    p += n;
    left -= static_cast<size_t>(n);
  }
}

std::string SignalName(int sig)
{
  const char* d = strsignal(sig);
  return std::string(d ? d : "signal") + " (signal " + std::to_string(sig) + ")";
}

// The child writes "S<step>\n" lines while it runs and one "P<result>\n",
// "W<warning>\n", "N<note>\n" or "F<message>\n" at the end; anything else (a
// crash, a hang, an exit of its own) is the parent's to describe.
Outcome RunInChild(const Check& check, CheckContext& ctx, double timeoutSeconds)
{
  int fds[2];
  if (pipe(fds) != 0) Fail("validate: no pipe for the check's process");
  std::fflush(stdout);
  std::fflush(stderr);
  const pid_t pid = fork();
  if (pid < 0) Fail("validate: could not start the check's process");
  if (pid == 0)
  {
    close(fds[0]);
    // The tool's own output (JSON among it) stays the parent's: whatever
    // the plug-in prints goes to standard error.
    dup2(STDERR_FILENO, STDOUT_FILENO);
    ctx.step = [&](const std::string& s) { WriteAll(fds[1], "S" + s + "\n"); };
    std::string line;
    try
    {
      line = "P" + check.run(ctx);
    }
    catch (const Advisory& e)
    {
      line = std::string("W") + e.what();
    }
    catch (const Notice& e)
    {
      line = std::string("N") + e.what();
    }
    catch (const std::exception& e)
    {
      line = std::string("F") + e.what();
    }
#ifdef QV_VALIDATE_LEAK_CHECK
    // The child ends with _exit, which skips LeakSanitizer's own check at
    // exit; a check that passed must not have leaked either.
    if (line[0] != 'F' && __lsan_do_recoverable_leak_check() != 0)
      line = "Fleaked memory (the LeakSanitizer report is above)";
#endif
    for (char& c : line)
      if (c == '\n') c = ' ';
    WriteAll(fds[1], line + "\n");
    std::fflush(stdout);
    std::fflush(stderr);
    // No destructors of the tool's own state: the parent owns it.
    _exit(0);
  }
  close(fds[1]);
  std::string buffer, step, result;
  bool done = false, timedOut = false;
  const auto deadline = std::chrono::steady_clock::now() +
                        std::chrono::milliseconds(static_cast<int64_t>(timeoutSeconds * 1000));
  for (;;)
  {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                          deadline - std::chrono::steady_clock::now())
                          .count();
    if (left <= 0)
    {
      timedOut = true;
      break;
    }
    pollfd p{fds[0], POLLIN, 0};
    const int r = poll(&p, 1, static_cast<int>(left));
    if (r < 0 && errno == EINTR) continue;
    if (r <= 0) continue;
    char chunk[4096];
    const ssize_t n = read(fds[0], chunk, sizeof chunk);
    if (n <= 0) break;
    buffer.append(chunk, static_cast<size_t>(n));
    size_t nl;
    while ((nl = buffer.find('\n')) != std::string::npos)
    {
      const std::string line = buffer.substr(0, nl);
      buffer.erase(0, nl + 1);
      if (line.empty()) continue;
      if (line[0] == 'S')
        step = line.substr(1);
      else
      {
        result = line;
        done = true;
      }
    }
  }
  close(fds[0]);
  if (timedOut) kill(pid, SIGKILL);
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR)
  {
  }
  const std::string during = step.empty() ? std::string() : " during " + step;
  Outcome o;
  if (timedOut)
  {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%g", timeoutSeconds);
    o.message = std::string("timed out after ") + buf + " s" + during;
  }
  else if (WIFSIGNALED(status))
    o.message = "crashed: " + SignalName(WTERMSIG(status)) + during;
  else if (!done)
    o.message = "the process ended (exit status " +
                std::to_string(WIFEXITED(status) ? WEXITSTATUS(status) : -1) + ")" + during;
  else if (result[0] == 'P')
    return Finish(result.substr(1));
  else if (result[0] == 'W')
    return Warned(result.substr(1));
  else if (result[0] == 'N')
    return Noted(result.substr(1));
  else
    o.message = result.substr(1);
  if (check.crashNote && (timedOut || !done)) return Warned(o.message + " " + check.crashNote);
  return o;
}

uint64_t FreshSeed()
{
  std::random_device rd;
  return (static_cast<uint64_t>(rd()) << 32) ^ rd() ^
         static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
}
} // namespace

int RunValidate(const ValidateOptions& o)
{
  if (o.level < 1 || o.level > 10) Usage("validate: --level must be 1 to 10");
  const std::vector<CheckFormat>& formats = CheckFormats();
  const auto format = std::find_if(formats.begin(), formats.end(),
                                   [&](const CheckFormat& f) { return f.accepts(o.bundle); });
  if (format == formats.end()) Fail(o.bundle + ": not a plug-in of any format validate knows");
  format->load(o.bundle);
  const std::vector<Check>& table = format->checks();
  for (const std::string& name : o.only)
    if (std::none_of(table.begin(), table.end(), [&](const Check& c) { return name == c.name; }))
    {
      std::string names;
      for (const Check& c : table)
        names += std::string(names.empty() ? "" : ", ") + c.name;
      Usage("validate: --only: no check named \"" + name + "\" for this target (checks: " + names +
            ")");
    }
  auto chosen = [&](const Check& c)
  {
    if (o.only.empty()) return c.level <= o.level;
    return std::find(o.only.begin(), o.only.end(), c.name) != o.only.end();
  };
  const int repeats = o.repeat > 0 ? o.repeat : o.level >= 10 ? 10 : 1;
  const uint64_t first = o.seedGiven ? o.seed : FreshSeed();
  nlohmann::json runs = nlohmann::json::array();
  int failed = 0, passed = 0, warned = 0, noted = 0;
  if (!o.json)
  {
    std::string scope = "level " + std::to_string(o.level);
    if (!o.only.empty())
    {
      scope = "only ";
      for (size_t i = 0; i < o.only.size(); ++i)
        scope += (i ? "," : "") + o.only[i];
    }
    std::printf("validate %s, %s, seed %llu%s\n", o.bundle.c_str(), scope.c_str(),
                static_cast<unsigned long long>(first),
                repeats > 1 ? (", " + std::to_string(repeats) + " runs").c_str() : "");
  }
  for (int run = 0; run < repeats; ++run)
  {
    // Later runs take seeds of their own, each printed so it can be repeated.
    const uint64_t seed = run == 0 ? first : first + static_cast<uint64_t>(run);
    if (!o.json && repeats > 1)
      std::printf("run %d, seed %llu\n", run + 1, static_cast<unsigned long long>(seed));
    nlohmann::json checks = nlohmann::json::array();
    for (const Check& check : table)
    {
      if (!chosen(check)) continue;
      CheckContext ctx;
      ctx.bundle = o.bundle;
      ctx.skipGui = o.skipGui;
      ctx.rng.seed(CheckSeed(seed, check.name));
      const auto start = std::chrono::steady_clock::now();
      Outcome out =
          o.inProcess ? RunInProcess(check, ctx) : RunInChild(check, ctx, o.timeoutSeconds);
      out.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
      if (out.warned && o.strict) out.passed = false;
      // A note never fails the run: --strict is about warnings, and what
      // a note names is for the user's eyes, not a host's.
      (!out.passed ? failed : out.warned ? warned : out.noted ? noted : passed)++;
      const char* status = !out.passed   ? "failed"
                           : out.warned  ? "warned"
                           : out.noted   ? "noted"
                           : out.skipped ? "skipped"
                                         : "passed";
      if (o.json)
        checks.push_back({{"name", check.name},
                          {"level", check.level},
                          {"status", status},
                          {"passed", out.passed},
                          {"skipped", out.skipped},
                          {"warned", out.warned},
                          {"noted", out.noted},
                          {"message", out.message},
                          {"seconds", out.seconds}});
      else
      {
        // A warning reads like a failure, so scripts parse both alike; the
        // message says that no rule requires what was found.
        // Without --notes a note reads as the pass it is, its text kept
        // and the flag named.
        const char* tag = !out.passed            ? "FAIL"
                          : out.warned           ? "WARN"
                          : out.noted && o.notes ? "NOTE"
                          : out.skipped          ? "SKIP"
                                                 : "PASS";
        const std::string text = out.noted && !o.notes
                                     ? out.message + " [a note: --notes prints it as NOTE]"
                                     : out.message;
        std::printf("%s  L%-2d %-22s %s\n", tag, check.level, check.name, text.c_str());
        std::fflush(stdout);
      }
    }
    runs.push_back({{"seed", seed}, {"checks", checks}});
  }
  if (o.json)
  {
    nlohmann::json doc = {{"bundle", o.bundle}, {"level", o.level}, {"seed", first},
                          {"runs", runs},       {"passed", passed}, {"warned", warned},
                          {"noted", noted},     {"failed", failed}, {"strict", o.strict},
                          {"ok", failed == 0}};
    if (!o.only.empty()) doc["only"] = o.only;
    std::printf("%s\n", doc.dump(2).c_str());
  }
  else
    std::printf("%d passed, %s%s%d failed (seed %llu)\n", passed,
                warned ? (std::to_string(warned) + " warned, ").c_str() : "",
                noted ? (std::to_string(noted) + " noted, ").c_str() : "", failed,
                static_cast<unsigned long long>(first));
  return failed == 0 ? kExitOK : kExitFailure;
}
} // namespace aaxtool
