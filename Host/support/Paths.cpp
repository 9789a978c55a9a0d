#include "Paths.h"

#include "ToolError.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

namespace aaxtool
{
void RequireInputFile(const std::string& path)
{
  struct stat st;
  if (stat(path.c_str(), &st) != 0) Fail(path + ": " + std::strerror(errno));
  if (S_ISDIR(st.st_mode)) Fail(path + ": is a directory, not a file");
}

void RequireOutputName(const std::string& path, const std::string& option)
{
  struct stat st;
  if ((!path.empty() && path.back() == '/') ||
      (stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)))
    Usage(option + " " + path + ": is a directory; give a file name" +
          (option == "-o" ? " or use --out-dir " + path : std::string()));
}
} // namespace aaxtool
