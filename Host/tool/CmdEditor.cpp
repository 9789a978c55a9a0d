// aaxhost editor: the plug-in's editor in a host X11 window, through the
// driver of its format (HostedPlugin::ShowEditor); --param values are set
// on the instance before its editor opens, as a session recall sets them.

#include "Commands.h"
#include "HostedPlugin.h"
#include "MissingFiles.h"
#include "Paths.h"
#include "ToolError.h"

#include <cstdlib>
#include <iostream>

namespace aaxtool
{
namespace
{
void ParseClick(const std::string& text, int& x, int& y)
{
  char* end = nullptr;
  const long lx = std::strtol(text.c_str(), &end, 10);
  if (end == text.c_str() || *end != ',') Usage("--click " + text + ": expected X,Y");
  const char* ys = end + 1;
  const long ly = std::strtol(ys, &end, 10);
  if (end == ys || *end != '\0') Usage("--click " + text + ": expected X,Y");
  x = static_cast<int>(lx);
  y = static_cast<int>(ly);
}
} // namespace

int RunEditor(const EditorOptions& o)
{
  if (o.snapshot.empty() && !o.interactive)
    Usage("editor: give --snapshot OUT.png or --interactive");
  EditorRun run;
  for (const std::string& c : o.clicks)
  {
    int x, y;
    ParseClick(c, x, y);
    run.clicks.emplace_back(x, y);
  }
  if (o.interactive && (!std::getenv("DISPLAY") || !*std::getenv("DISPLAY")))
    Usage("editor --interactive needs a DISPLAY");
  if (!o.snapshot.empty()) RequireOutputName(o.snapshot, "--snapshot");
  run.snapshot = o.snapshot;
  run.interactive = o.interactive;
  run.missingFiles = MissingFiles;

  // The plug-in may load its pictures as soon as it is created.
  WatchMissingFiles(true);
  const std::unique_ptr<PluginType> type = OpenPlugin(o.bundle);
  const std::unique_ptr<HostedPlugin> plug = type->NewInstance(48000.0, 512);
  for (const std::string& a : o.params)
    plug->ApplyAssignment(a);
  plug->ShowEditor(run, std::cout);
  return kExitOK;
}
} // namespace aaxtool
