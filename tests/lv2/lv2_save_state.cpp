// Saves an LV2 plug-in's state the way a host does, into a folder that
// `jalv -l DIR` loads: the console jalv has no save command of its own.
//
//   lv2_save_state URI DIR [--plugin-only | --port SYMBOL=VALUE ...] [SYMBOL=VALUE ...]
//
// The plug-in is instantiated through lilv (LV2_PATH decides where it is
// found), the given control values are set, one block is run so the plug-in
// applies them, and the state is saved as DIR/state.ttl. With --plugin-only
// the port values are left out, so whatever a host restores from DIR comes
// from the plug-in's own state interface alone. --port SYMBOL=VALUE saves
// VALUE as that port's value in place of the one the plug-in ran with, so
// the port says one thing and the plug-in's own state another (what a host
// saves when a control changed while no run saw it).
#include <lilv/lilv.h>
#include <lv2/atom/atom.h>
#include <lv2/state/state.h>
#include <lv2/urid/urid.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace
{
struct UridTable
{
  std::vector<std::string> uris; // URID n is uris[n - 1]
};

LV2_URID MapUri(LV2_URID_Map_Handle handle, const char* uri)
{
  auto* table = static_cast<UridTable*>(handle);
  for (size_t i = 0; i < table->uris.size(); ++i)
    if (table->uris[i] == uri) return static_cast<LV2_URID>(i + 1);
  table->uris.emplace_back(uri);
  return static_cast<LV2_URID>(table->uris.size());
}

const char* UnmapUri(LV2_URID_Unmap_Handle handle, LV2_URID urid)
{
  auto* table = static_cast<UridTable*>(handle);
  return urid >= 1 && urid <= table->uris.size() ? table->uris[urid - 1].c_str() : nullptr;
}

struct PortValues
{
  std::map<std::string, float> values;
  LV2_URID floatType = 0;
};

const void* GetPortValue(const char* symbol, void* userData, uint32_t* size, uint32_t* type)
{
  auto* ports = static_cast<PortValues*>(userData);
  auto it = ports->values.find(symbol);
  if (it == ports->values.end()) return nullptr;
  *size = sizeof(float);
  *type = ports->floatType;
  return &it->second;
}

int Fail(const char* what, const char* detail)
{
  std::fprintf(stderr, "lv2_save_state: %s%s\n", what, detail);
  return 1;
}
} // namespace

int main(int argc, char** argv)
{
  if (argc < 3)
    return Fail("usage: lv2_save_state URI DIR [--plugin-only | --port SYMBOL=VALUE ...] "
                "[SYMBOL=VALUE ...]",
                "");
  const char* uri = argv[1];
  std::string dir = argv[2];
  bool pluginOnly = false;
  std::map<std::string, float> requested, saved;
  for (int i = 3; i < argc; ++i)
  {
    if (std::strcmp(argv[i], "--plugin-only") == 0)
    {
      pluginOnly = true;
      continue;
    }
    const bool portOnly = std::strcmp(argv[i], "--port") == 0;
    if (portOnly && ++i == argc) return Fail("--port needs SYMBOL=VALUE", "");
    const char* eq = std::strchr(argv[i], '=');
    char* end = nullptr;
    float value = eq ? std::strtof(eq + 1, &end) : 0.f;
    if (!eq || eq == argv[i] || end == eq + 1 || *end) return Fail("not SYMBOL=VALUE: ", argv[i]);
    (portOnly ? saved : requested)[std::string(argv[i], static_cast<size_t>(eq - argv[i]))] = value;
  }
  if (pluginOnly && !saved.empty()) return Fail("--plugin-only saves no port value to --port", "");

  UridTable table;
  LV2_URID_Map map{&table, MapUri};
  LV2_URID_Unmap unmap{&table, UnmapUri};
  LV2_Feature mapFeature{LV2_URID__map, &map};
  LV2_Feature unmapFeature{LV2_URID__unmap, &unmap};
  const LV2_Feature* features[] = {&mapFeature, &unmapFeature, nullptr};

  LilvWorld* world = lilv_world_new();
  lilv_world_load_all(world);
  LilvNode* uriNode = lilv_new_uri(world, uri);
  const LilvPlugin* plugin = lilv_plugins_get_by_uri(lilv_world_get_all_plugins(world), uriNode);
  lilv_node_free(uriNode);
  if (!plugin)
  {
    lilv_world_free(world);
    return Fail("no plug-in with URI ", uri);
  }

  const double rate = 48000.0;
  const uint32_t frames = 256;
  LilvInstance* instance = lilv_plugin_instantiate(plugin, rate, features);
  if (!instance)
  {
    lilv_world_free(world);
    return Fail("could not instantiate ", uri);
  }

  LilvNode* controlClass = lilv_new_uri(world, LV2_CORE__ControlPort);
  LilvNode* inputClass = lilv_new_uri(world, LV2_CORE__InputPort);
  const uint32_t numPorts = lilv_plugin_get_num_ports(plugin);
  std::vector<float> defaults(numPorts, 0.f);
  lilv_plugin_get_port_ranges_float(plugin, nullptr, nullptr, defaults.data());
  std::vector<float> controls(numPorts, 0.f);
  std::vector<std::vector<float>> audio(numPorts);
  PortValues ports;
  ports.floatType = MapUri(&table, LV2_ATOM__Float);
  int status = 0;
  for (uint32_t p = 0; p < numPorts; ++p)
  {
    const LilvPort* port = lilv_plugin_get_port_by_index(plugin, p);
    const char* symbol = lilv_node_as_string(lilv_port_get_symbol(plugin, port));
    if (lilv_port_is_a(plugin, port, controlClass))
    {
      controls[p] = std::isnan(defaults[p]) ? 0.f : defaults[p];
      auto it = requested.find(symbol);
      if (it != requested.end())
      {
        controls[p] = it->second;
        requested.erase(it);
      }
      if (lilv_port_is_a(plugin, port, inputClass))
      {
        auto as = saved.find(symbol);
        ports.values[symbol] = as != saved.end() ? as->second : controls[p];
        if (as != saved.end()) saved.erase(as);
      }
      lilv_instance_connect_port(instance, p, &controls[p]);
    }
    else
    {
      // Audio gets a silent block; atom or CV ports, which this tool does
      // not drive, get one too, so nothing reads through a null pointer.
      audio[p].assign(frames, 0.f);
      lilv_instance_connect_port(instance, p, audio[p].data());
    }
  }
  lilv_node_free(controlClass);
  lilv_node_free(inputClass);
  if (!requested.empty()) status = Fail("no control port named ", requested.begin()->first.c_str());
  if (!saved.empty()) status = Fail("no control input port named ", saved.begin()->first.c_str());

  if (status == 0)
  {
    lilv_instance_activate(instance);
    lilv_instance_run(instance, frames);
    LilvState* state =
        lilv_state_new_from_instance(plugin, instance, &map, nullptr, nullptr, nullptr, dir.c_str(),
                                     pluginOnly ? nullptr : GetPortValue, &ports,
                                     LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE, features);
    if (!state)
      status = Fail("the plug-in gave no state: ", uri);
    else if (lilv_state_save(world, &map, &unmap, state, nullptr, dir.c_str(), "state.ttl"))
      status = Fail("could not save the state in ", dir.c_str());
    lilv_state_free(state);
    lilv_instance_deactivate(instance);
  }
  lilv_instance_free(instance);
  lilv_world_free(world);
  return status;
}
