#include "Lv2Ui.h"

#include <lv2/atom/atom.h>
#include <lv2/data-access/data-access.h>
#include <lv2/instance-access/instance-access.h>
#include <lv2/options/options.h>
#include <lv2/parameters/parameters.h>
#include <lv2/ui/ui.h>
#include <lv2/urid/urid.h>
#include <suil/suil.h>

#include <algorithm>
#include <cstdint>
#include <iterator>

namespace aaxtool
{
namespace
{
std::string Path(const LilvNode* uri)
{
  if (!uri) return "";
  char* p = lilv_file_uri_parse(lilv_node_as_uri(uri), nullptr);
  const std::string s = p ? p : "";
  lilv_free(p);
  return s;
}

const char* const kUiOffered[] = {LV2_OPTIONS__options,
                                  LV2_UI__parent,
                                  LV2_URID__map,
                                  LV2_URID__unmap,
                                  LV2_UI__idleInterface,
                                  LV2_UI__resize,
                                  LV2_INSTANCE_ACCESS_URI,
                                  LV2_DATA_ACCESS_URI,
                                  LV2_UI__noUserResize,
                                  LV2_UI__fixedSize,
                                  LV2_UI_PREFIX "makeResident"};

int Resize(LV2UI_Feature_Handle, int, int) { return 0; }
} // namespace

std::vector<Lv2UiInfo> Lv2Uis(Lv2World& w, bool x11Only)
{
  std::vector<Lv2UiInfo> out;
  LilvUIs* uis = lilv_plugin_get_uis(w.Plugin());
  LilvNode* x11 = lilv_new_uri(w.World(), LV2_UI__X11UI);
  LilvNode* required = lilv_new_uri(w.World(), LV2_CORE__requiredFeature);
  LILV_FOREACH(uis, i, uis)
  {
    const LilvUI* ui = lilv_uis_get(uis, i);
    const bool isX11 = lilv_ui_is_a(ui, x11);
    if (x11Only && !isX11) continue;
    Lv2UiInfo u;
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

std::string Lv2UiMissingFeature(const Lv2UiInfo& ui)
{
  for (const std::string& f : ui.required)
    if (std::find(std::begin(kUiOffered), std::end(kUiOffered), f) == std::end(kUiOffered))
      return f;
  return "";
}

struct Lv2X11Ui::Impl
{
  Lv2World& w;
  Lv2Instance& plug;
  // Everything the features point at lives as long as the UI.
  LV2_URID_Map map{};
  LV2_URID_Unmap unmap{};
  LV2UI_Resize resize{nullptr, Resize};
  LV2_Extension_Data_Feature data{};
  float rate = 48000.0f;
  LV2_Options_Option options[2]{};
  LV2_Feature fParent{}, fMap{}, fUnmap{}, fResize{}, fInstance{}, fData{}, fIdle{}, fOptions{};
  SuilHost* host = nullptr;
  SuilInstance* ui = nullptr;
  const LV2UI_Idle_Interface* idle = nullptr;

  Impl(Lv2World& world, Lv2Instance& p) : w(world), plug(p) {}

  static void Write(SuilController c, uint32_t index, uint32_t size, uint32_t protocol,
                    const void* buffer)
  {
    auto* self = static_cast<Impl*>(c);
    if (protocol != 0 || size != sizeof(float) || index >= self->w.Ports().size()) return;
    const Lv2Port& p = self->w.Ports()[index];
    if (p.control && p.input) self->plug.Control(index) = *static_cast<const float*>(buffer);
  }

  static uint32_t Index(SuilController c, const char* symbol)
  {
    auto* self = static_cast<Impl*>(c);
    for (const Lv2Port& p : self->w.Ports())
      if (p.symbol == symbol) return p.index;
    return LV2UI_INVALID_PORT_INDEX;
  }
};

Lv2X11Ui::Lv2X11Ui(Lv2World& w, Lv2Instance& plug, const Lv2UiInfo& info, unsigned long parent)
    : m(new Impl(w, plug))
{
  Impl& h = *m;
  h.map = {&w, [](LV2_URID_Map_Handle p, const char* uri)
           { return static_cast<Lv2World*>(p)->Map(uri); }};
  h.unmap = {&w, [](LV2_URID_Unmap_Handle p, LV2_URID id)
             { return static_cast<Lv2World*>(p)->Unmap(id); }};
  h.data = {lilv_instance_get_descriptor(plug.Raw())->extension_data};
  // Options for UIs that require the feature: the sample rate.
  h.options[0] = {LV2_OPTIONS_INSTANCE,   0,      w.Map(LV2_PARAMETERS__sampleRate), sizeof h.rate,
                  w.Map(LV2_ATOM__Float), &h.rate};
  h.options[1] = {LV2_OPTIONS_INSTANCE, 0, 0, 0, 0, nullptr};
  h.fParent = {LV2_UI__parent, reinterpret_cast<void*>(static_cast<uintptr_t>(parent))};
  h.fMap = {LV2_URID__map, &h.map};
  h.fUnmap = {LV2_URID__unmap, &h.unmap};
  h.fResize = {LV2_UI__resize, &h.resize};
  h.fInstance = {LV2_INSTANCE_ACCESS_URI, lilv_instance_get_handle(plug.Raw())};
  h.fData = {LV2_DATA_ACCESS_URI, &h.data};
  h.fIdle = {LV2_UI__idleInterface, nullptr};
  h.fOptions = {LV2_OPTIONS__options, h.options};
  const LV2_Feature* features[] = {&h.fParent, &h.fMap,  &h.fUnmap,   &h.fResize, &h.fInstance,
                                   &h.fData,   &h.fIdle, &h.fOptions, nullptr};
  h.host = suil_host_new(Impl::Write, Impl::Index, nullptr, nullptr);
  h.ui = suil_instance_new(h.host, &h, LV2_UI__X11UI, w.Uri().c_str(), info.uri.c_str(),
                           info.type.c_str(), info.bundle.c_str(), info.binary.c_str(), features);
  KeepLoaded(info.binary);
  if (h.ui)
    h.idle = static_cast<const LV2UI_Idle_Interface*>(
        suil_instance_extension_data(h.ui, LV2_UI__idleInterface));
}

Lv2X11Ui::~Lv2X11Ui()
{
  if (m->ui) suil_instance_free(m->ui);
  suil_host_free(m->host);
}

bool Lv2X11Ui::Ok() const { return m->ui != nullptr; }

void Lv2X11Ui::SendControls()
{
  for (const Lv2Port& p : m->w.Ports())
    if (p.control)
    {
      const float v = p.input ? m->plug.Control(p.index) : p.def;
      suil_instance_port_event(m->ui, p.index, sizeof v, 0, &v);
    }
}

bool Lv2X11Ui::Idle() { return !(m->idle && m->idle->idle(suil_instance_get_handle(m->ui)) != 0); }

unsigned long Lv2X11Ui::Window() const
{
  return m->ui ? static_cast<unsigned long>(
                     reinterpret_cast<uintptr_t>(suil_instance_get_widget(m->ui)))
               : 0;
}
} // namespace aaxtool
