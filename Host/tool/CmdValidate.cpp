// The command line of aaxhost validate.
#include "Arguments.h"
#include "Commands.h"
#include "Validate.h"

#include <CLI/CLI.hpp>

namespace aaxtool
{
CLI::App* AddValidate(CLI::App& app, ValidateOptions& o)
{
  CLI::App* c = app.add_subcommand("validate", "check the module as a host may drive it");
  c->add_option("BUNDLE", o.bundle,
                "module bundle (Name.aaxplugin) or its .so, or an LV2 bundle folder or plug-in URI")
      ->required();
  c->add_option("--level", o.level, "checks up to this level (1 to 10)")
      ->check(WholeNumber(1, 10))
      ->capture_default_str();
  c->add_option("--seed", o.seed, "seed of every random choice (default: a fresh one, printed)")
      ->each([&o](const std::string&) { o.seedGiven = true; });
  c->add_option("--repeat", o.repeat, "runs, each with the next seed (default 1; 10 at level 10)")
      ->check(WholeNumber(1, 100000));
  c->add_option("--timeout", o.timeoutSeconds, "seconds one check may take")
      ->check(Number(0, false, 86400))
      ->capture_default_str();
  c->add_flag("--skip-gui", o.skipGui, "no checks that need a display");
  c->add_flag("--in-process", o.inProcess, "run the checks in this process (for debugging)");
  c->add_flag("--json", o.json, "print JSON");
  c->add_option("--only", o.only,
                "run only these checks (names as printed, comma-separated), whatever their level")
      ->delimiter(',');
  c->add_flag("--strict", o.strict, "warnings (what no rule requires) fail the run too");
  c->add_flag("--notes", o.notes,
              "print notes (what hosts show that no rule requires) as NOTE lines; they never fail");
  return c;
}
} // namespace aaxtool
