// Which files the loaded module asked for and did not find. The tool's own
// fopen stands in front of the C library's (a loaded module calls it too)
// and, while watching, remembers every open that failed because the file
// does not exist and whose path passes through a "Resources" folder: the
// pictures an editor loads from its bundle.
#pragma once

#include <string>
#include <vector>

namespace aaxtool
{
// False in builds without the hook (sanitizer builds): nothing is seen. [any]
bool CanWatchMissingFiles();
// Starts or stops remembering. [any]
void WatchMissingFiles(bool on);
// The paths remembered so far, each once, in the order asked for. [any]
std::vector<std::string> MissingFiles();
} // namespace aaxtool
