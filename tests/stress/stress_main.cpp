// quorvane_stress: the four-thread soak of a module bundle (see soak.h) on an
// Xvfb of its own, for a given time. Exit 0 when it ran clean; otherwise 1
// with one line saying what went wrong. Under a sanitizer, any report of it
// fails the run too.
#include "soak.h"

#include "xvfb_harness.h"

#include <CLI/CLI.hpp>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace
{
std::atomic<int> sSanitizerReports{0};
std::mutex sSanitizerMutex;
std::string sFirstSanitizerReport;
} // namespace

extern "C"
{
  // Every sanitizer calls this with the summary line of each report it
  // prints. Counting them lets the run fail with its own line at the end;
  // an error that ends the process (AddressSanitizer's) gets the line now.
  void __sanitizer_report_error_summary(const char* summary)
  {
    std::fprintf(stderr, "%s\n", summary);
    if (sSanitizerReports.fetch_add(1) != 0) return;
    {
      std::lock_guard<std::mutex> lock(sSanitizerMutex);
      sFirstSanitizerReport = summary;
    }
    std::fprintf(stderr, "stress: FAIL: sanitizer report: %s\n", summary);
  }

  // The project's LeakSanitizer suppressions (libraries that keep a block for
  // the life of the process), without needing LSAN_OPTIONS.
  const char* __lsan_default_options() { return "suppressions=" QV_LSAN_SUPPRESSIONS; }

  int __lsan_do_recoverable_leak_check() __attribute__((weak));
}

namespace
{
int Fail(const std::string& why)
{
  std::printf("stress: FAIL: %s\n", why.c_str());
  std::fflush(stdout);
  return 1;
}

// Ends the process when a thread stops making progress: a deadlock cannot
// be joined. Returns when every thread has finished.
void Watch(stress::Soak& soak, const std::atomic<int>& running, int stallSeconds)
{
  using Clock = std::chrono::steady_clock;
  uint64_t last[stress::kNumThreads] = {};
  Clock::time_point seen[stress::kNumThreads];
  for (auto& s : seen)
    s = Clock::now();
  while (running.load() > 0)
  {
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    for (int t = 0; t < stress::kNumThreads; ++t)
    {
      const uint64_t beat = soak.Heartbeat(t).load();
      if (beat != last[t] || beat == ~0ull)
      {
        last[t] = beat;
        seen[t] = Clock::now();
      }
      else if (Clock::now() - seen[t] > std::chrono::seconds(stallSeconds))
      {
        Fail(std::string("the ") + stress::ThreadName(t) + " thread made no progress for " +
             std::to_string(stallSeconds) + " s (deadlock or hang)");
        std::_Exit(1);
      }
    }
  }
}

// A finished thread marks its heartbeat so the watchdog leaves it alone.
template <class F> std::thread Start(stress::Soak& soak, int thread, std::atomic<int>& running, F f)
{
  running.fetch_add(1);
  return std::thread(
      [&soak, thread, &running, f]
      {
        f();
        soak.Heartbeat(thread).store(~0ull);
        running.fetch_sub(1);
      });
}
} // namespace

int main(int argc, char** argv)
{
  CLI::App app{"quorvane_stress: render, host automation, editor clicks and state chunks on "
               "one instance at once"};
  double seconds = 60.0;
  uint64_t seed = std::random_device{}() * 0x100000001ull ^ std::random_device{}();
  std::string bundle = QV_QUORVANE_BUNDLE;
  int editors = 1;
  app.add_option("--seconds", seconds, "how long to run (default 60)")
      ->check(CLI::Range(0.1, 86400.0));
  app.add_option("--seed", seed, "seed of every random choice (printed)");
  app.add_option("--bundle", bundle, "the module bundle (default the built Quorvane)");
  app.add_option("--editors", editors,
                 "instances whose editors are opened and closed, each on its own thread "
                 "(default 1)")
      ->check(CLI::Range(1, 2));
  CLI11_PARSE(app, argc, argv);

  std::printf("stress: %s for %g s, seed %llu\n", bundle.c_str(), seconds,
              static_cast<unsigned long long>(seed));
  std::fflush(stdout);
  std::string why;
  if (!SharedXvfb(&why)) return Fail(why);

  int status = 0;
  {
    stress::Soak soak(bundle, seed, editors);
    if (!soak.Error().empty()) return Fail(soak.Error());
    std::atomic<int> running{0};
    std::vector<std::thread> threads;
    threads.push_back(
        Start(soak, stress::kRenderThread, running, [&] { stress::RunRender(soak, seconds); }));
    threads.push_back(
        Start(soak, stress::kAutomationThread, running, [&] { stress::RunAutomation(soak); }));
    threads.push_back(
        Start(soak, stress::kEditorThread, running, [&] { stress::RunEditor(soak, 0); }));
    threads.push_back(Start(soak, stress::kChunkThread, running, [&] { stress::RunChunks(soak); }));
    if (editors == 2)
      threads.push_back(
          Start(soak, stress::kSecondEditorThread, running, [&] { stress::RunEditor(soak, 1); }));
    Watch(soak, running, 60);
    for (std::thread& t : threads)
      t.join();
    if (!soak.Result().Failed()) soak.Checkpoint(false);
    const int32_t live = soak.LiveWithInstance();
    soak.Release();

    const stress::Counters& c = soak.Count();
    std::printf("stress: %llu blocks rendered (%llu frames), %llu checked against the state "
                "around them, %llu checkpoints\n",
                static_cast<unsigned long long>(c.blocks.load()),
                static_cast<unsigned long long>(c.frames.load()),
                static_cast<unsigned long long>(c.checkedBlocks.load()),
                static_cast<unsigned long long>(c.checkpoints.load()));
    std::printf("stress: automation: %llu updates, %llu requests, %llu answers, %llu queries\n",
                static_cast<unsigned long long>(c.updates.load()),
                static_cast<unsigned long long>(c.requests.load()),
                static_cast<unsigned long long>(c.echoes.load()),
                static_cast<unsigned long long>(c.queries.load()));
    const uint64_t all = soak.Host().Automation()->SetRequestCount();
    const uint64_t fromEditor = all > c.hostPosts.load() ? all - c.hostPosts.load() : 0;
    std::printf("stress: editor: %llu clicks (%llu on the switches), %llu reached the host, "
                "%llu opens (%llu of the second instance), %llu windows destroyed before the "
                "editor closed\n",
                static_cast<unsigned long long>(c.clicks.load()),
                static_cast<unsigned long long>(c.switchClicks.load()),
                static_cast<unsigned long long>(fromEditor),
                static_cast<unsigned long long>(c.editorOpens.load()),
                static_cast<unsigned long long>(c.secondEditorOpens.load()),
                static_cast<unsigned long long>(c.windowsDestroyedFirst.load()));
    std::printf("stress: chunks: %llu saved, %llu restored (%llu round trips of saved chunks), "
                "%llu foreign refused\n",
                static_cast<unsigned long long>(c.chunkSaves.load()),
                static_cast<unsigned long long>(c.chunkRestores.load()),
                static_cast<unsigned long long>(c.roundTrips.load()),
                static_cast<unsigned long long>(c.foreignChunks.load()));
    std::printf("stress: live objects: %d after loading, %d with the instance, %d after release; "
                "module %s\n",
                soak.LiveAtStart(), live, soak.LiveAtEnd(),
                soak.Unloaded() ? "unloaded" : "NOT unloaded");
    std::fflush(stdout);
    if (soak.Result().Failed())
      status = Fail(soak.Result().Message());
    else if (c.switchClicks.load() >= 20 && fromEditor == 0)
      status = Fail(std::to_string(c.switchClicks.load()) +
                    " clicks on the switches, and none reached the host");
  }
  if (status == 0 && __lsan_do_recoverable_leak_check && __lsan_do_recoverable_leak_check())
    status = Fail("LeakSanitizer found leaked memory (report above)");
  if (status == 0 && sSanitizerReports.load() > 0)
  {
    std::lock_guard<std::mutex> lock(sSanitizerMutex);
    status = Fail(std::to_string(sSanitizerReports.load()) +
                  " sanitizer report(s), the first: " + sFirstSanitizerReport);
  }
  if (status == 0) std::printf("stress: passed\n");
  return status;
}
