// The LV2 driver of the format-neutral interface: a plug-in found by lilv
// (Lv2Plugin.h). Parameters are the input control ports.
#pragma once

#include "HostedPlugin.h"

#include <string>

namespace aaxtool
{
// [host] Finds the plug-in target names (a bundle folder or a URI on
// LV2_PATH); fails with one line naming it.
std::unique_ptr<PluginType> OpenLv2(const std::string& target);
// Set by LeaveTypesToProcessExit (HostedPlugin.h). [host]
extern bool gLeaveWorlds;
} // namespace aaxtool
