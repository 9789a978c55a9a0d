// The UI checks of validate for LV2 plug-ins: level 4 the UI binaries'
// exports, level 5 every X11 UI embedded in a parent window on an Xvfb of
// its own, fed every control's value, idled and closed, three times.
#include "ValidateLv2.h"

#include "ToolError.h"
#include "Xvfb.h"

#include <X11/Xlib.h>
#include <lv2/atom/atom.h>
#include <lv2/data-access/data-access.h>
#include <lv2/instance-access/instance-access.h>
#include <lv2/options/options.h>
#include <lv2/parameters/parameters.h>
#include <lv2/ui/ui.h>
#include <lv2/urid/urid.h>
#include <suil/suil.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <set>
#include <thread>

namespace aaxtool
{
namespace
{
struct Ui
{
  std::string uri, type, bundle, binary;
  std::vector<std::string> required;
};

std::string Path(const LilvNode* uri)
{
  if (!uri) return "";
  char* p = lilv_file_uri_parse(lilv_node_as_uri(uri), nullptr);
  const std::string s = p ? p : "";
  lilv_free(p);
  return s;
}

std::vector<Ui> Uis(Lv2World& w, bool x11Only)
{
  std::vector<Ui> out;
  LilvUIs* uis = lilv_plugin_get_uis(w.Plugin());
  LilvNode* x11 = lilv_new_uri(w.World(), LV2_UI__X11UI);
  LilvNode* required = lilv_new_uri(w.World(), LV2_CORE__requiredFeature);
  LILV_FOREACH(uis, i, uis)
  {
    const LilvUI* ui = lilv_uis_get(uis, i);
    const bool isX11 = lilv_ui_is_a(ui, x11);
    if (x11Only && !isX11) continue;
    Ui u;
    u.uri = lilv_node_as_uri(lilv_ui_get_uri(ui));
    const LilvNodes* classes = lilv_ui_get_classes(ui);
    u.type = isX11 ? LV2_UI__X11UI
                   : lilv_node_as_uri(lilv_nodes_get(classes, lilv_nodes_begin(classes)));
    u.bundle = Path(lilv_ui_get_bundle_uri(ui));
    u.binary = Path(lilv_ui_get_binary_uri(ui));
    LilvNodes* req = lilv_world_find_nodes(w.World(), lilv_ui_get_uri(ui), required, nullptr);
    LILV_FOREACH(nodes, k, req) u.required.push_back(lilv_node_as_uri(lilv_nodes_get(req, k)));
    lilv_nodes_free(req);
    out.push_back(u);
  }
  lilv_node_free(required);
  lilv_node_free(x11);
  lilv_uis_free(uis);
  return out;
}

std::string CheckUiExports(CheckContext& ctx)
{
  Lv2World& w = *LoadedLv2Target();
  const std::vector<Ui> uis = Uis(w, false);
  if (uis.empty()) return "skipped: no UI";
  std::set<std::string> binaries;
  for (const Ui& u : uis)
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

struct UiHost
{
  Lv2Instance* plug;
  const std::vector<Lv2Port>* ports;
  unsigned writes = 0;
};

void Write(SuilController c, uint32_t index, uint32_t size, uint32_t protocol, const void* buffer)
{
  auto* h = static_cast<UiHost*>(c);
  ++h->writes;
  if (protocol != 0 || size != sizeof(float) || index >= h->ports->size()) return;
  const Lv2Port& p = (*h->ports)[index];
  if (p.control && p.input) h->plug->Control(index) = *static_cast<const float*>(buffer);
}

uint32_t Index(SuilController c, const char* symbol)
{
  auto* h = static_cast<UiHost*>(c);
  for (const Lv2Port& p : *h->ports)
    if (p.symbol == symbol) return p.index;
  return LV2UI_INVALID_PORT_INDEX;
}

int Resize(LV2UI_Feature_Handle, int, int) { return 0; }

const char* const kUiOffered[] = {LV2_OPTIONS__options, LV2_UI__parent,      LV2_URID__map,
                                  LV2_URID__unmap,     LV2_UI__idleInterface,
                                  LV2_UI__resize,      LV2_INSTANCE_ACCESS_URI,
                                  LV2_DATA_ACCESS_URI, LV2_UI__noUserResize,
                                  LV2_UI__fixedSize,   LV2_UI_PREFIX "makeResident"};

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
  const std::vector<Ui> uis = Uis(w, true);
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
  for (const Ui& u : uis)
  {
    for (const std::string& f : u.required)
      if (std::find(std::begin(kUiOffered), std::end(kUiOffered), f) == std::end(kUiOffered))
        return "skipped: the UI " + u.uri + " requires " + f + ", which the tool does not offer";
    for (int round = 1; round <= 3; ++round)
    {
      const std::string where = "UI " + u.uri + ", round " + std::to_string(round);
      auto plug = std::make_unique<Lv2Instance>(w, 48000.0, 1024);
      if (!plug->Ok()) Fail("instantiate returned NULL with every feature it requires offered");
      UiHost host{plug.get(), &w.Ports()};
      const Window parent =
          XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 800, 600, 0, 0, 0);
      XMapWindow(display, parent);
      XSync(display, False);
      LV2_URID_Map map{&w, [](LV2_URID_Map_Handle h, const char* uri)
                       { return static_cast<Lv2World*>(h)->Map(uri); }};
      LV2_URID_Unmap unmap{&w, [](LV2_URID_Unmap_Handle h, LV2_URID id)
                           { return static_cast<Lv2World*>(h)->Unmap(id); }};
      LV2UI_Resize resize{nullptr, Resize};
      LV2_Extension_Data_Feature data{lilv_instance_get_descriptor(plug->Raw())->extension_data};
      const LV2_Feature fParent{LV2_UI__parent, reinterpret_cast<void*>(parent)};
      const LV2_Feature fMap{LV2_URID__map, &map}, fUnmap{LV2_URID__unmap, &unmap};
      const LV2_Feature fResize{LV2_UI__resize, &resize};
      const LV2_Feature fInstance{LV2_INSTANCE_ACCESS_URI, lilv_instance_get_handle(plug->Raw())};
      const LV2_Feature fData{LV2_DATA_ACCESS_URI, &data};
      const LV2_Feature fIdle{LV2_UI__idleInterface, nullptr};
      // Options for UIs that require the feature: the sample rate.
      float rate = 48000.0f;
      LV2_Options_Option options[2] = {{LV2_OPTIONS_INSTANCE, 0, w.Map(LV2_PARAMETERS__sampleRate),
                                        sizeof rate, w.Map(LV2_ATOM__Float), &rate},
                                       {LV2_OPTIONS_INSTANCE, 0, 0, 0, 0, nullptr}};
      const LV2_Feature fOptions{LV2_OPTIONS__options, options};
      const LV2_Feature* features[] = {&fParent, &fMap,  &fUnmap, &fResize, &fInstance,
                                       &fData,   &fIdle, &fOptions, nullptr};
      SuilHost* sh = suil_host_new(Write, Index, nullptr, nullptr);
      ctx.Step(where + ": instantiating");
      SuilInstance* ui =
          suil_instance_new(sh, &host, LV2_UI__X11UI, w.Uri().c_str(), u.uri.c_str(),
                            u.type.c_str(), u.bundle.c_str(), u.binary.c_str(), features);
      KeepLoaded(u.binary);
      if (!ui)
      {
        suil_host_free(sh);
        XDestroyWindow(display, parent);
        Fail(where + ": the UI did not instantiate");
      }
      ctx.Step(where + ": port_event for every control");
      for (const Lv2Port& p : w.Ports())
        if (p.control)
        {
          const float v = p.input ? plug->Control(p.index) : p.def;
          suil_instance_port_event(ui, p.index, sizeof v, 0, &v);
        }
      const auto* idle = static_cast<const LV2UI_Idle_Interface*>(
          suil_instance_extension_data(ui, LV2_UI__idleInterface));
      ctx.Step(where + ": idle");
      for (int i = 0; i < 20; ++i)
      {
        if (idle && idle->idle(suil_instance_get_handle(ui)) != 0) break;
        while (XPending(display))
        {
          XEvent e;
          XNextEvent(display, &e);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
      }
      ctx.Step(where + ": closing");
      suil_instance_free(ui);
      suil_host_free(sh);
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
