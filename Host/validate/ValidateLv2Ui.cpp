// The UI checks of validate for LV2 plug-ins: level 4 the UI binaries'
// exports, level 5 every X11 UI embedded in a parent window on an Xvfb of
// its own, fed every control's value, idled and closed, three times.
#include "ValidateLv2.h"

#include "Lv2Ui.h"
#include "ToolError.h"
#include "Xvfb.h"

#include <X11/Xlib.h>

#include <chrono>
#include <cstdlib>
#include <set>
#include <thread>

namespace aaxtool
{
namespace
{
std::string CheckUiExports(CheckContext& ctx)
{
  Lv2World& w = *LoadedLv2Target();
  const std::vector<Lv2UiInfo> uis = Lv2Uis(w, false);
  if (uis.empty()) return "skipped: no UI";
  std::set<std::string> binaries;
  for (const Lv2UiInfo& u : uis)
    if (!u.binary.empty() && u.binary != w.BinaryPath()) binaries.insert(u.binary);
  if (binaries.empty()) return "skipped: the UI lives in the plug-in's binary";
  for (const std::string& b : binaries)
  {
    ctx.Step("reading the dynamic symbols of " + b);
    const std::vector<std::string> extra = ExtraExports(b);
    if (!extra.empty())
      Warn(b + ": " + std::to_string(extra.size()) +
           " dynamic symbol(s) besides lv2ui_descriptor, the first " + extra[0] +
           " (no LV2 rule requires a UI binary to hide them; they can clash between UIs "
           "loaded into one host)");
  }
  return std::to_string(binaries.size()) + " UI binar" + (binaries.size() == 1 ? "y" : "ies") +
         ", only the descriptor function";
}

// The first X protocol error of the process (the UI's own connection
// included: Xlib's handler is one for all), kept instead of Xlib's default
// of ending the process, so the UI's rounds go on and the error is named.
std::string gFirstXError;
Display* gToolDisplay = nullptr; // the parent windows' connection
int RecordXError(Display* d, XErrorEvent* e)
{
  if (gFirstXError.empty())
  {
    char text[128] = "";
    XGetErrorText(d, e->error_code, text, sizeof text);
    gFirstXError = std::string(text) + " in request " + std::to_string(e->request_code) + "." +
                   std::to_string(e->minor_code) +
                   (d == gToolDisplay ? " on the tool's own connection" : " on the UI's connection");
  }
  return 0;
}

std::string CheckUiX11(CheckContext& ctx)
{
  if (ctx.skipGui) return "skipped: --skip-gui";
  Lv2World& w = *LoadedLv2Target();
  const std::vector<Lv2UiInfo> uis = Lv2Uis(w, true);
  if (uis.empty()) return "skipped: no X11 UI";
  const std::string missing = Lv2MissingFeature(w);
  if (!missing.empty())
    return "skipped: the plug-in requires the feature " + missing +
           ", which the tool does not offer";
  XvfbProcess xvfb;
  std::string why;
  ctx.Step("starting Xvfb");
  if (!StartXvfb("1280x1024x24", &xvfb, &why)) return "skipped: " + why;
  // UIs open their own connection to the display they find in DISPLAY.
  setenv("DISPLAY", xvfb.display.c_str(), 1);
  Display* display = XOpenDisplay(xvfb.display.c_str());
  if (!display) return "skipped: cannot open the Xvfb display " + xvfb.display;
  gToolDisplay = display;
  XSetErrorHandler(RecordXError);
  int shown = 0;
  for (const Lv2UiInfo& u : uis)
  {
    const std::string unoffered = Lv2UiMissingFeature(u);
    if (!unoffered.empty())
      return "skipped: the UI " + u.uri + " requires " + unoffered +
             ", which the tool does not offer";
    for (int round = 1; round <= 3; ++round)
    {
      const std::string where = "UI " + u.uri + ", round " + std::to_string(round);
      auto plug = std::make_unique<Lv2Instance>(w, 48000.0, 1024);
      if (!plug->Ok()) Fail("instantiate returned NULL with every feature it requires offered");
      const Window parent =
          XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 800, 600, 0, 0, 0);
      XMapWindow(display, parent);
      XSync(display, False);
      ctx.Step(where + ": instantiating");
      auto ui = std::make_unique<Lv2X11Ui>(w, *plug, u, parent);
      if (!ui->Ok())
      {
        ui.reset();
        XDestroyWindow(display, parent);
        Fail(where + ": the UI did not instantiate");
      }
      ctx.Step(where + ": port_event for every control");
      ui->SendControls();
      ctx.Step(where + ": idle");
      for (int i = 0; i < 20; ++i)
      {
        if (!ui->Idle()) break;
        while (XPending(display))
        {
          XEvent e;
          XNextEvent(display, &e);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
      }
      ctx.Step(where + ": closing");
      ui.reset();
      XDestroyWindow(display, parent);
      XSync(display, False);
      ++shown;
    }
  }
  XCloseDisplay(display);
  StopXvfb(&xvfb);
  if (!gFirstXError.empty())
    Warn("the UI caused an X protocol error, " + gFirstXError +
         ", which ends a host that keeps Xlib's default handler (no LV2 rule names X errors)");
  return std::to_string(uis.size()) + " X11 UI(s) opened, fed and closed 3 times";
}
} // namespace

std::vector<Check> Lv2UiChecks()
{
  return {{"lv2-ui-exports", 4, CheckUiExports}, {"lv2-ui-x11", 5, CheckUiX11}};
}
} // namespace aaxtool
