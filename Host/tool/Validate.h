// aaxhost validate: what a plug-in developer runs before shipping. Checks,
// each with the lowest level where it makes sense, run one at a time in a
// child process so a crash, a hang or an abort of the plug-in becomes a
// failed check naming what was running, not a crash of the tool.
#pragma once

#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace CLI
{
class App;
}

namespace aaxtool
{
struct ValidateOptions
{
  std::string bundle;
  int level = 5;
  uint64_t seed = 0;
  bool seedGiven = false;
  int repeat = 0; // 0: once, or 10 times at level 10
  bool skipGui = false;
  bool inProcess = false;
  bool json = false;
  double timeoutSeconds = 30.0; // per check
};
int RunValidate(const ValidateOptions& o);
// The validate subcommand on app, filling o when parsed.
CLI::App* AddValidate(CLI::App& app, ValidateOptions& o);

// What a check sees. Step() names what runs now: a crash or a hang is
// reported with the last step named. Random choices come from rng only.
struct CheckContext
{
  std::string bundle;
  bool skipGui = false;
  std::mt19937_64 rng;
  std::function<void(const std::string&)> step;
  void Step(const std::string& what) const
  {
    if (step) step(what);
  }
  double Uniform() { return std::uniform_real_distribution<double>(0.0, 1.0)(rng); }
};

struct Check
{
  const char* name;
  int level;
  // Throws ToolError with what failed; a check that cannot apply (no editor,
  // no display) returns "skipped: why".
  std::function<std::string(CheckContext&)> run;
};
const std::vector<Check>& ValidateChecks();

// Allocations made by threads while they count (the tool interposes the
// allocator; false in sanitizer builds, which keep their own). [any]
bool AllocationsCountable();
void CountAllocations(bool on); // for the calling thread
unsigned long Allocations();
void ResetAllocations();
// The function that made the first allocation counted since the reset (the
// first named frame above the allocator), or empty.
std::string FirstAllocationSite();
} // namespace aaxtool
