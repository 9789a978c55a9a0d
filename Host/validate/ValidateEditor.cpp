// The editor checks of validate: the headless editor while audio renders
// (level 4), the editor in an X11 window clicked like a user (level 5), and
// opening and closing it with the render thread running (level 6).
#include "Snapshot.h"
#include "ValidateAax.h"

#include "AAX_Errors.h"
#include "HostAutomationDelegate.h"
#include "ToolError.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <set>
#include <thread>
#include <utility>

namespace aaxtool
{
std::string CheckEditorHeadless(CheckContext& ctx)
{
  const std::unique_ptr<LoadedModule> module = Load(ctx);
  LoadedModule& m = *module;
  if (!m.CreateEditor()) return "skipped: the effect has no editor";
  PluginInstance plug(m, 48000.0, kAnnounced);
  plug.Instance().EchoAutomation(true);
  const aaxhost::HostAutomationDelegate* host = plug.Host().Automation();
  const Signal input = Noise(ctx, m.Inputs(), 512);
  RenderThread render(plug, input, m.Outputs());
  int updates = 0;
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
    const size_t before = host ? host->SetRequests().size() : 0;
    for (const auto& v : RandomValues(ctx, plug))
    {
      plug.Update(v.first, v.second);
      plug.Instance().Editor()->ParameterUpdated(v.first.c_str());
      plug.Instance().Editor()->TimerWakeup();
      ++updates;
    }
    // The editor shows the host's changes; sending them back as edits
    // would write automation the user never made.
    if (host && host->SetRequests().size() != before)
      Fail("the editor sent the host's own changes back as set requests");
    ctx.Step("closing the editor while rendering");
    plug.Instance().CloseEditor();
  }
  render.Stop();
  // The editor interface has no mouse entry, so a headless editor cannot be
  // clicked by a host; the X11 check clicks.
  return std::to_string(updates) +
         " host change(s) through ParameterUpdated, none sent back; not clicked (the editor "
         "interface gives a host no mouse entry)";
}

namespace
{
long NowMs()
{
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

// The host's view of the editor's changes: the set requests the automation
// delegate got, from index from on.
std::set<std::string> RequestedSince(const aaxhost::HostAutomationDelegate& host, size_t from,
                                     size_t* count)
{
  const std::vector<aaxhost::SetRequest> all = host.SetRequests();
  std::set<std::string> ids;
  for (size_t i = from; i < all.size(); ++i)
    ids.insert(all[i].id);
  *count = all.size();
  return ids;
}
} // namespace

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
  aaxhost::HostAutomationDelegate* host = plug.Host().Automation();
  if (!host) Fail("the stand-in host offers no automation delegate");
  // The editor's changes come back to the plug-in as a workstation sends
  // them: from the host's own thread (this one), one call at a time.
  plug.Instance().EchoAutomation(true);
  host->SetEchoDeferred(true);
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

  // The parameters a user can reach: every automatable one but the host's
  // bypass, which no editor control drives.
  std::set<std::string> wanted;
  for (const ParamInfo& p : plug.Params())
    if (p.automatable && p.id != kBypassID) wanted.insert(p.id);
  // The controls' places are the editor's own: scan the view with ever finer
  // steps, down to 4 pixels, until a click has reached every parameter or
  // the scan's time is up. A click that reaches one shows as a set request
  // within a few milliseconds; a click on the background shows nothing.
  constexpr long kScanMs = 2500, kMissMs = 6;
  const long start = NowMs();
  size_t seen = 0;
  RequestedSince(*host, 0, &seen);
  const size_t first = seen;
  std::set<std::string> reached;
  std::set<std::pair<int, int>> clicked;
  int finest = 0;
  bool timeUp = false;
  for (int step = 16; step >= 4 && !timeUp && reached.size() < wanted.size(); step /= 2)
  {
    for (int y = step / 2; y < h && !timeUp && reached.size() < wanted.size(); y += step)
      for (int cx = step / 2; cx < w && reached.size() < wanted.size(); cx += step)
      {
        if (!clicked.insert({cx, y}).second) continue;
        if (NowMs() - start > kScanMs)
        {
          timeUp = true;
          break;
        }
        ctx.Step("a click at " + std::to_string(cx) + "," + std::to_string(y));
        x->Click(cx, y);
        const long sent = NowMs();
        size_t now = seen;
        while (NowMs() - sent < kMissMs)
        {
          host->DeliverEchoes();
          for (const std::string& id : RequestedSince(*host, seen, &now))
            if (wanted.count(id)) reached.insert(id);
          if (now != seen) break;
          std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        seen = now;
      }
    if (!timeUp) finest = step;
  }
  const int clicks = static_cast<int>(clicked.size()) - (timeUp ? 1 : 0);

  // Every parameter a click reached: released again, and holding the value
  // the host last asked for, as the plug-in reports it.
  ctx.Step("the clicked values reaching the host");
  x->Pump(100);
  host->DeliverEchoes();
  for (const std::string& id : RequestedSince(*host, first, &seen))
    if (wanted.count(id)) reached.insert(id);
  const std::vector<aaxhost::SetRequest> requests = host->SetRequests();
  for (const std::string& id : reached)
  {
    if (host->IsTouched(id)) Fail("parameter " + id + " is still touched after the clicks");
    double last = -1.0;
    for (const aaxhost::SetRequest& q : requests)
      if (q.id == id) last = q.value;
    double value = -1.0;
    plug.Parameters()->GetParameterNormalizedValue(id.c_str(), &value);
    if (std::fabs(value - last) > 1e-9)
      Fail("parameter " + id + ": the host last asked for " + Num(last) + ", the plug-in holds " +
           Num(value));
  }
  ctx.Step("closing the editor while rendering");
  plug.Instance().CloseEditor();
  render.Stop();
  const std::string line = std::to_string(reached.size()) + " of " + std::to_string(wanted.size()) +
                           " parameter(s) reached by " + std::to_string(clicks) + " clicks";
  if (reached.empty() && !wanted.empty()) Fail(line + " over the editor");
  const std::string scan = reached.size() == wanted.size() ? ""
                           : finest ? ", scanned to a " + std::to_string(finest) + "-pixel step"
                                    : ", the scan's time ran out";
  return line + scan + ", every value at the host";
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
