// aaxhost editor: the plug-in's editor in a host X11 window, opened through
// the view container as a workstation opens it; clicks are real pointer
// events, and the snapshot is what the window shows. An LV2 plug-in's X11
// UI is hosted through suil and snapshot only.

#include "Commands.h"
#include "HostAutomationDelegate.h"
#include "HostedPlugin.h"
#include "Lv2Plugin.h"
#include "Lv2UiSnapshot.h"
#include "MissingFiles.h"
#include "Paths.h"
#include "Plugin.h"
#include "Snapshot.h"
#include "ToolError.h"

#include "AAX.h"
#include "AAX_Errors.h"

#include <cstdio>
#include <cstdlib>
#include <map>

namespace aaxtool
{
namespace
{
// "a/b/../c" -> "a/c": the module asks for "<binary folder>/../Resources/x".
std::string Tidy(std::string path)
{
  for (size_t up; (up = path.find("/../")) != std::string::npos && up > 0;)
  {
    const size_t start = path.rfind('/', up - 1);
    if (start == std::string::npos) break;
    path.erase(start, up + 3 - start);
  }
  return path;
}

// A picture the editor could not find draws as nothing: say so, once.
void WarnOfMissingPictures()
{
  const std::vector<std::string> missing = MissingFiles();
  if (missing.empty()) return;
  std::string list;
  for (const std::string& m : missing)
    list += (list.empty() ? "" : ", ") + Tidy(m);
  std::fprintf(stderr,
               "aaxhost: warning: the editor asked for %zu picture%s the bundle does not have "
               "(%s); they are not drawn\n",
               missing.size(), missing.size() == 1 ? "" : "s", list.c_str());
}

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

std::map<std::string, std::string> Values(const PluginInstance& plug)
{
  std::map<std::string, std::string> out;
  for (const ParamInfo& p : plug.Params())
    out[p.id] = p.valueText;
  return out;
}

// Editors draw on their own GUI thread; give them a few frames to show a change.
constexpr int kSettleMs = 400;

int RunLv2Editor(const EditorOptions& o)
{
  if (o.interactive)
    Usage("editor --interactive: an LV2 UI can only be snapshot for now; give --snapshot");
  if (!o.clicks.empty())
    Usage("editor --click: an LV2 UI takes no clicks for now; set values with --param");
  RequireOutputName(o.snapshot, "--snapshot");
  // --param means what it means to every other subcommand: the driver
  // parses it, and the values it sets are copied onto the instance the UI
  // shows.
  const std::unique_ptr<PluginType> type = OpenPlugin(o.bundle);
  const std::unique_ptr<HostedPlugin> model = type->NewInstance(48000.0, 512);
  for (const std::string& a : o.params)
    model->ApplyAssignment(a);
  Lv2World world(o.bundle);
  Lv2Instance inst(world, 48000.0, 512);
  if (!inst.Ok()) Fail(world.Uri() + ": the plug-in refused to instantiate at 48000 Hz");
  for (const PluginParam& p : model->Params())
    for (const Lv2Port& port : world.Ports())
      if (port.control && port.input && port.symbol == p.symbol)
        inst.Control(port.index) = static_cast<float>(p.value);
  SnapshotLv2Ui(world, inst, o.snapshot);
  std::printf("%s: UI snapshot of %s\n", o.snapshot.c_str(), world.Uri().c_str());
  return kExitOK;
}
} // namespace

int RunEditor(const EditorOptions& o)
{
  if (o.snapshot.empty() && !o.interactive)
    Usage("editor: give --snapshot OUT.png or --interactive");
  if (IsLv2Target(o.bundle)) return RunLv2Editor(o);
  std::vector<std::pair<int, int>> clicks;
  for (const std::string& c : o.clicks)
  {
    int x, y;
    ParseClick(c, x, y);
    clicks.emplace_back(x, y);
  }
  if (o.interactive && (!std::getenv("DISPLAY") || !*std::getenv("DISPLAY")))
    Usage("editor --interactive needs a DISPLAY");

  if (!o.snapshot.empty()) RequireOutputName(o.snapshot, "--snapshot");
  // The plug-in may load its pictures as soon as it is created.
  WatchMissingFiles(true);
  LoadedModule module(o.bundle);
  if (!module.CreateEditor()) Fail(o.bundle + ": the effect has no editor");
  XSession x;
  PluginInstance plug(module, 48000.0, 512);
  for (const std::string& a : o.params)
    plug.ApplyAssignment(a);
  // The editor's changes come back to the plug-in on this thread, as a
  // workstation's control thread sends them: the host makes one call at a
  // time into the instance, never one from the editor's thread beside ours.
  aaxhost::HostAutomationDelegate* automation = plug.Host().Automation();
  if (automation) automation->SetEchoDeferred(true);
  auto deliver = [automation]
  {
    if (automation) automation->DeliverEchoes();
  };

  AAX_Result r = plug.Instance().OpenEditor(module.CreateEditor());
  if (r != AAX_SUCCESS) Fail(o.bundle + ": " + aaxhost::WithCode("the editor did not open", r));
  AAX_Point size{0, 0};
  plug.Instance().Editor()->GetViewSize(&size);
  const int w = static_cast<int>(size.horz), h = static_cast<int>(size.vert);
  if (w <= 0 || h <= 0 || w > 8192 || h > 8192)
    Fail(o.bundle + ": the editor reports no usable size (" + std::to_string(w) + "x" +
         std::to_string(h) + ")");
  x.OpenWindow(w, h, module.Effect().names.empty() ? module.Effect().id : module.Effect().names[0]);
  r = plug.Instance().AttachView(x.NativeView());
  if (r != AAX_SUCCESS)
    Fail(o.bundle + ": " + aaxhost::WithCode("the editor refused the window", r));
  if (!x.WaitForEditor(5000)) Fail(o.bundle + ": the editor showed no window within 5 s");
  x.Pump(kSettleMs);

  for (const auto& c : clicks)
  {
    x.Click(c.first, c.second);
    x.Pump(kSettleMs);
    deliver();
  }
  if (!clicks.empty())
    for (const ParamInfo& p : plug.Params())
      std::printf("%s = %s\n", p.id.c_str(), p.valueText.c_str());

  WarnOfMissingPictures();
  if (!o.snapshot.empty())
  {
    x.Snapshot(o.snapshot);
    std::printf("%s: %dx%d editor snapshot%s\n", o.snapshot.c_str(), w, h,
                x.OwnServer() ? " (on its own Xvfb)" : "");
  }
  if (o.interactive)
  {
    std::printf("editor open; close its window to end\n");
    std::fflush(stdout);
    std::map<std::string, std::string> last = Values(plug);
    while (x.Pump(100))
    {
      deliver();
      const std::map<std::string, std::string> now = Values(plug);
      for (const auto& v : now)
        if (last[v.first] != v.second) std::printf("%s = %s\n", v.first.c_str(), v.second.c_str());
      std::fflush(stdout);
      last = now;
    }
  }
  plug.Instance().CloseEditor();
  return kExitOK;
}
} // namespace aaxtool
