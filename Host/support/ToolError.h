// How the tool reports failure: one line on stderr and an exit status
// (1 failure, 2 usage error). Commands throw; main prints and exits.
#pragma once

#include <stdexcept>
#include <string>

namespace aaxtool
{
enum ExitCode
{
  kExitOK = 0,
  kExitFailure = 1,
  kExitUsage = 2
};

class ToolError : public std::runtime_error
{
public:
  explicit ToolError(const std::string& what, int code = kExitFailure)
      : std::runtime_error(what), mCode(code)
  {
  }
  int Code() const { return mCode; }

private:
  int mCode;
};

// A failure of the work itself (a file, the module, the plug-in). [any]
[[noreturn]] inline void Fail(const std::string& what) { throw ToolError(what, kExitFailure); }
// A command line that asks for something impossible. [any]
[[noreturn]] inline void Usage(const std::string& what) { throw ToolError(what, kExitUsage); }
} // namespace aaxtool
