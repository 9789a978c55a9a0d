// The AAX driver's editor: the effect's editor in a host X11 window, opened
// through the view container as a workstation opens it; clicks are real
// pointer events, and the snapshot is what the window shows.
#pragma once

#include "HostedPlugin.h"
#include "Plugin.h"

#include <iosfwd>

namespace aaxtool
{
// [host] HostedPlugin::ShowEditor for plug, an instance of module.
void ShowAaxEditor(const LoadedModule& module, PluginInstance& plug, const EditorRun& run,
                   std::ostream& out);
} // namespace aaxtool
