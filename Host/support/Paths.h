// Checks of the file names a run is given, each failing with one line that
// says what is wrong with which name, before anything is read or written.
#pragma once

#include <string>

namespace aaxtool
{
// path exists and is a file to read; fails "path: is a directory" or with
// the system's reason. [any]
void RequireInputFile(const std::string& path);
// path may be written as a file: not an existing directory, not ending in
// '/'. Fails as a usage error naming what to give instead. [any]
void RequireOutputName(const std::string& path, const std::string& option);
} // namespace aaxtool
