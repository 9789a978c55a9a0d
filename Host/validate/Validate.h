// aaxhost validate: what a plug-in developer runs before shipping. Checks,
// each with the lowest level where it makes sense, run one at a time in a
// child process so a crash, a hang or an abort of the plug-in becomes a
// failed check naming what was running, not a crash of the tool.
#pragma once

#include "ToolError.h"

#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <vector>

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
  bool strict = false;           // warnings fail the run
  bool notes = false;            // noted checks print NOTE instead of PASS
  std::vector<std::string> only; // these checks alone, whatever their level
  double timeoutSeconds = 30.0;  // per check
};
int RunValidate(const ValidateOptions& o);

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

// What a check found that no rule of the plug-in format forbids (extra
// exported symbols, output that depends on the block size): printed as a
// warning that leaves the run passing, a failure under --strict. [any]
class Advisory : public ToolError
{
public:
  using ToolError::ToolError;
};
[[noreturn]] inline void Warn(const std::string& what) { throw Advisory(what); }

// What a check found missing that no rule asks for but hosts and package
// tools show a user (a license, port comments): a note. The check counts as
// passed, --strict included; --notes prints its line as NOTE. [any]
class Notice : public ToolError
{
public:
  using ToolError::ToolError;
};
[[noreturn]] inline void Note(const std::string& what) { throw Notice(what); }

struct Check
{
  const char* name;
  int level;
  // Throws ToolError with what failed; a check that cannot apply (no editor,
  // no display) returns "skipped: why"; an advisory finding throws Advisory,
  // a note Notice.
  std::function<std::string(CheckContext&)> run;
  // Set where the plug-in format allows a plug-in to crash on what the check
  // gives it: a crash, hang or exit of the check's process is then a
  // warning, with this note after the line.
  const char* crashNote = nullptr;
};

// One plug-in format's checks. The runner knows formats only through this
// table: the first format (in CheckFormats' order) that accepts a target
// checks it.
struct CheckFormat
{
  const char* name;
  // Whether target names a plug-in of this format. [host]
  bool (*accepts)(const std::string& target);
  // Readies the target in the tool's process before any check's child is
  // forked; fails with one line when it cannot be found. [host]
  void (*load)(const std::string& target);
  // The checks, in the order they run and are reported (by level).
  const std::vector<Check>& (*checks)();
};
// Every format validate knows, in the order they are asked (ValidateFormats.cpp).
const std::vector<CheckFormat>& CheckFormats();
} // namespace aaxtool
