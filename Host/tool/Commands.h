// The subcommands, each with the options the command line gave it. Each
// returns the exit status or throws ToolError.
#pragma once

#include <string>
#include <vector>

namespace CLI
{
class App;
}

namespace aaxtool
{
struct DescribeOptions
{
  std::string bundle;
  bool json = false;
};
int RunDescribe(const DescribeOptions& o);

struct ParamsOptions
{
  std::string bundle;
  std::vector<std::string> params;
  bool json = false;
};
int RunParams(const ParamsOptions& o);

struct ProcessOptions
{
  std::string bundle;
  std::vector<std::string> inputs;
  std::string output, outDir;
  std::vector<std::string> params;
  std::string preset;
  std::string automation, state, saveState;
  int block = 512;
  std::string format, subtype;
  bool noLatencyCompensation = false;
  int jobs = 1;
  bool quiet = false;
};
int RunProcess(const ProcessOptions& o);

struct StateOptions
{
  std::string action; // save, show, load
  std::string bundle, file;
  std::vector<std::string> params;
  bool json = false;
};
int RunState(const StateOptions& o);

struct DiffOptions
{
  std::string a, b;
  double tolerance = 0.0;
  bool json = false;
};
int RunDiff(const DiffOptions& o);

struct EditorOptions
{
  std::string bundle;
  std::vector<std::string> params;
  std::vector<std::string> clicks;
  std::string snapshot;
  bool interactive = false;
};
int RunEditor(const EditorOptions& o);
struct SignalOptions
{
  std::string output;
  double seconds = 4.0;
  int rate = 48000;
  bool swapped = false;
};
int RunSignal(const SignalOptions& o);

// validate's options and run are the validator's own (Validate.h); its
// command line is the tool's. Adds the subcommand to app, filling o when
// parsed.
struct ValidateOptions;
CLI::App* AddValidate(CLI::App& app, ValidateOptions& o);
} // namespace aaxtool
