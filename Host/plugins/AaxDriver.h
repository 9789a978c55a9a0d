// The AAX driver of the format-neutral interface: a module bundle loaded
// through the stand-in host (Plugin.h), each instance on a host of its own.
#pragma once

#include "HostedPlugin.h"

#include <string>

namespace aaxtool
{
// [host] Loads the module at bundle; fails with one line naming it.
std::unique_ptr<PluginType> OpenAax(const std::string& bundle);
} // namespace aaxtool
