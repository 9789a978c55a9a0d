#include "AaxDriver.h"
#include "HostedPlugin.h"
#include "Lv2Driver.h"
#include "Lv2Plugin.h"
#include "ToolError.h"

#include <sys/stat.h>

namespace aaxtool
{
std::unique_ptr<PluginType> OpenPlugin(const std::string& target)
{
  if (IsLv2Target(target)) return OpenLv2(target);
  struct stat st;
  if (stat(target.c_str(), &st) != 0) Fail("no such bundle, module or LV2 plug-in: " + target);
  return OpenAax(target);
}

void LeaveTypesToProcessExit() { gLeaveWorlds = true; }
} // namespace aaxtool
