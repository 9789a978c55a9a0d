#include "AaxEditor.h"

#include "HostAutomationDelegate.h"
#include "Snapshot.h"
#include "ToolError.h"

#include "AAX.h"
#include "AAX_Errors.h"

#include <cstdio>
#include <map>
#include <ostream>

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
void WarnOfMissingPictures(const EditorRun& run)
{
  const std::vector<std::string> missing =
      run.missingFiles ? run.missingFiles() : std::vector<std::string>{};
  if (missing.empty()) return;
  std::string list;
  for (const std::string& m : missing)
    list += (list.empty() ? "" : ", ") + Tidy(m);
  std::fprintf(stderr,
               "aaxhost: warning: the editor asked for %zu picture%s the bundle does not have "
               "(%s); they are not drawn\n",
               missing.size(), missing.size() == 1 ? "" : "s", list.c_str());
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
} // namespace

void ShowAaxEditor(const LoadedModule& module, PluginInstance& plug, const EditorRun& run,
                   std::ostream& out)
{
  const std::string& bundle = module.Path();
  if (!module.CreateEditor()) Fail(bundle + ": the effect has no editor");
  XSession x;
  // The editor closes before the window and the display it draws on go,
  // also when a step below fails.
  struct CloseOnExit
  {
    aaxhost::HostInstance& instance;
    ~CloseOnExit() { instance.CloseEditor(); }
  } closeOnExit{plug.Instance()};
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
  if (r != AAX_SUCCESS) Fail(bundle + ": " + aaxhost::WithCode("the editor did not open", r));
  AAX_Point size{0, 0};
  plug.Instance().Editor()->GetViewSize(&size);
  const int w = static_cast<int>(size.horz), h = static_cast<int>(size.vert);
  if (w <= 0 || h <= 0 || w > 8192 || h > 8192)
    Fail(bundle + ": the editor reports no usable size (" + std::to_string(w) + "x" +
         std::to_string(h) + ")");
  x.OpenWindow(w, h, module.Effect().names.empty() ? module.Effect().id : module.Effect().names[0]);
  r = plug.Instance().AttachView(x.NativeView());
  if (r != AAX_SUCCESS) Fail(bundle + ": " + aaxhost::WithCode("the editor refused the window", r));
  if (!x.WaitForEditor(5000)) Fail(bundle + ": the editor showed no window within 5 s");
  x.Pump(kSettleMs);

  for (const auto& c : run.clicks)
  {
    x.Click(c.first, c.second);
    x.Pump(kSettleMs);
    deliver();
  }
  if (!run.clicks.empty())
    for (const ParamInfo& p : plug.Params())
      out << p.id << " = " << p.valueText << "\n";

  WarnOfMissingPictures(run);
  if (!run.snapshot.empty())
  {
    x.Snapshot(run.snapshot);
    out << run.snapshot << ": " << w << "x" << h << " editor snapshot"
        << (x.OwnServer() ? " (on its own Xvfb)" : "") << "\n";
  }
  if (run.interactive)
  {
    out << "editor open; close its window to end" << std::endl;
    std::map<std::string, std::string> last = Values(plug);
    while (x.Pump(100))
    {
      deliver();
      const std::map<std::string, std::string> now = Values(plug);
      for (const auto& v : now)
        if (last[v.first] != v.second) out << v.first << " = " << v.second << "\n";
      out.flush();
      last = now;
    }
  }
}
} // namespace aaxtool
