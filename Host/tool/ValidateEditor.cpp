// The editor checks of validate: the headless editor while audio renders
// (level 4), the editor in an X11 window clicked like a user (level 5), and
// opening and closing it with the render thread running (level 6).
#include "Snapshot.h"
#include "ValidateSupport.h"

#include "AAX_Errors.h"
#include "ToolError.h"

#include <algorithm>
#include <set>

namespace aaxtool
{
std::string CheckEditorHeadless(CheckContext& ctx)
{
  const std::unique_ptr<LoadedModule> module = Load(ctx);
  LoadedModule& m = *module;
  if (!m.CreateEditor()) return "skipped: the effect has no editor";
  PluginInstance plug(m, 48000.0, kAnnounced);
  plug.Instance().EchoAutomation(true);
  const Signal input = Noise(ctx, m.Inputs(), 512);
  RenderThread render(plug, input, m.Outputs());
  for (int round = 0; round < 3; ++round)
  {
    ctx.Step("opening the editor while rendering");
    AAX_Result r = plug.Instance().OpenEditor(m.CreateEditor());
    if (r != AAX_SUCCESS) Fail(aaxhost::WithCode("the editor did not open", r));
    r = plug.Instance().AttachView(aaxhost::HostInstance::HeadlessView());
    if (r != AAX_SUCCESS) Fail(aaxhost::WithCode("the editor refused the headless view", r));
    AAX_Point size{0, 0};
    plug.Instance().Editor()->GetViewSize(&size);
    if (size.horz <= 0 || size.vert <= 0) Fail("the editor reports no size");
    ctx.Step("host changes reaching the open editor");
    for (const auto& v : RandomValues(ctx, plug))
    {
      plug.Update(v.first, v.second);
      plug.Instance().Editor()->ParameterUpdated(v.first.c_str());
      plug.Instance().Editor()->TimerWakeup();
    }
    ctx.Step("closing the editor while rendering");
    plug.Instance().CloseEditor();
  }
  render.Stop();
  return "";
}

std::string CheckEditorX11(CheckContext& ctx)
{
  if (ctx.skipGui) return "skipped: --skip-gui";
  const std::unique_ptr<LoadedModule> module = Load(ctx);
  LoadedModule& m = *module;
  if (!m.CreateEditor()) return "skipped: the effect has no editor";
  std::unique_ptr<XSession> x;
  try
  {
    ctx.Step("connecting to a display or starting Xvfb");
    x = std::make_unique<XSession>();
  }
  catch (const std::exception& e)
  {
    return std::string("skipped: ") + e.what();
  }
  const std::unique_ptr<PluginInstance> instance = NewInstance(ctx, m);
  PluginInstance& plug = *instance;
  // The editor's changes come back to the plug-in as a workstation sends them.
  plug.Instance().EchoAutomation(true);
  const Signal input = Noise(ctx, m.Inputs(), 512);
  RenderThread render(plug, input, m.Outputs());
  ctx.Step("opening the editor in an X11 window while rendering");
  AAX_Result r = plug.Instance().OpenEditor(m.CreateEditor());
  if (r != AAX_SUCCESS) Fail(aaxhost::WithCode("the editor did not open", r));
  AAX_Point size{0, 0};
  plug.Instance().Editor()->GetViewSize(&size);
  const int w = static_cast<int>(size.horz), h = static_cast<int>(size.vert);
  if (w <= 0 || h <= 0 || w > 8192 || h > 8192) Fail("the editor reports no usable size");
  x->OpenWindow(w, h, "validate");
  r = plug.Instance().AttachView(x->NativeView());
  if (r != AAX_SUCCESS) Fail(aaxhost::WithCode("the editor refused the window", r));
  if (!x->WaitForEditor(5000)) Fail("the editor showed no window within 5 s");
  x->Pump(200);
  // Without knowing where the controls are, click a grid over the whole view;
  // a parameter counts once the host saw a click change it.
  std::vector<ParamInfo> last = plug.Params();
  std::set<std::string> reached;
  const int stepX = std::max(1, w / 12), stepY = std::max(1, h / 8);
  int clicks = 0;
  for (int y = stepY / 2; y < h; y += stepY)
    for (int cx = stepX / 2; cx < w; cx += stepX)
    {
      ctx.Step("a click at " + std::to_string(cx) + "," + std::to_string(y));
      x->Click(cx, y);
      x->Pump(20);
      ++clicks;
      const std::vector<ParamInfo> now = plug.Params();
      for (size_t i = 0; i < now.size() && i < last.size(); ++i)
        if (now[i].value != last[i].value) reached.insert(now[i].id);
      last = now;
    }
  const int changed = static_cast<int>(reached.size());
  const bool any = !last.empty();
  ctx.Step("closing the editor while rendering");
  plug.Instance().CloseEditor();
  render.Stop();
  if (changed == 0 && any)
    Fail(std::to_string(clicks) + " clicks over the editor changed no parameter");
  return std::to_string(clicks) + " clicks, " + std::to_string(changed) + " parameter(s) changed";
}

std::string CheckEditorOpenClose(CheckContext& ctx)
{
  const std::unique_ptr<LoadedModule> module = Load(ctx);
  LoadedModule& m = *module;
  if (!m.CreateEditor()) return "skipped: the effect has no editor";
  const std::unique_ptr<PluginInstance> instance = NewInstance(ctx, m);
  PluginInstance& plug = *instance;
  const Signal input = Noise(ctx, m.Inputs(), 256);
  RenderThread render(plug, input, m.Outputs());
  for (int round = 1; round <= 20; ++round)
  {
    ctx.Step("opening and closing the editor while rendering, round " + std::to_string(round));
    const AAX_Result r = plug.Instance().OpenEditor(m.CreateEditor());
    if (r != AAX_SUCCESS) Fail(aaxhost::WithCode("the editor did not open", r));
    if (round % 2) plug.Instance().AttachView(aaxhost::HostInstance::HeadlessView());
    plug.Instance().CloseEditor();
  }
  render.Stop();
  return "";
}
} // namespace aaxtool
