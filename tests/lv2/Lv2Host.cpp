#include "Lv2Host.h"

#include <lv2/atom/atom.h>
#include <lv2/buf-size/buf-size.h>

#include <cstring>
#include <stdexcept>

namespace lv2test
{
World::World(const std::string& bundle, const char* uri)
{
  mWorld = lilv_world_new();
  LilvNode* dir = lilv_new_file_uri(mWorld, nullptr, (bundle + "/").c_str());
  lilv_world_load_bundle(mWorld, dir);
  lilv_node_free(dir);
  LilvNode* u = lilv_new_uri(mWorld, uri);
  mPlugin = lilv_plugins_get_by_uri(lilv_world_get_all_plugins(mWorld), u);
  lilv_node_free(u);
  if (!mPlugin) throw std::runtime_error(std::string("no plug-in ") + uri + " in " + bundle);
  mMap.handle = this;
  mMap.map = &MapFn;
}

World::~World() { lilv_world_free(mWorld); }

LV2_URID World::Map(const char* uri)
{
  auto it = mIds.find(uri);
  if (it != mIds.end()) return it->second;
  const auto id = static_cast<LV2_URID>(mIds.size() + 1);
  mIds.emplace(uri, id);
  return id;
}

LV2_URID World::MapFn(LV2_URID_Map_Handle h, const char* uri)
{
  return static_cast<World*>(h)->Map(uri);
}

Instance::Instance(World& world, int features, int maxBlock, double rate)
    : mWorld(world), mMaxBlock(maxBlock)
{
  int n = 0;
  if (features >= 1)
  {
    mMapFeature = {LV2_URID__map, world.UridMap()};
    mFeatures[n++] = &mMapFeature;
  }
  if (features >= 2)
  {
    mOptions[0] = {LV2_OPTIONS_INSTANCE,
                   0,
                   world.Map(LV2_BUF_SIZE__maxBlockLength),
                   sizeof(int32_t),
                   world.Map(LV2_ATOM__Int),
                   &mMaxBlock};
    mOptionsFeature = {LV2_OPTIONS__options, mOptions};
    mFeatures[n++] = &mOptionsFeature;
  }
  mFeatures[n] = nullptr;
  mInstance = lilv_plugin_instantiate(world.Plugin(), rate, mFeatures);
  if (!mInstance) throw std::runtime_error("instantiate failed");

  const uint32_t nPorts = lilv_plugin_get_num_ports(world.Plugin());
  mControls.assign(nPorts, 0.0f);
  std::vector<float> defaults(nPorts);
  lilv_plugin_get_port_ranges_float(world.Plugin(), nullptr, nullptr, defaults.data());
  for (uint32_t i = 0; i < nPorts; ++i)
  {
    const LilvPort* port = lilv_plugin_get_port_by_index(world.Plugin(), i);
    const std::string sym = lilv_node_as_string(lilv_port_get_symbol(world.Plugin(), port));
    mPorts[sym] = i;
    if (sym == "latency")
      lilv_instance_connect_port(mInstance, i, &mLatency);
    else if (sym.rfind("in_", 0) == 0)
      mAudioIn.push_back(i);
    else if (sym.rfind("out_", 0) == 0)
      mAudioOut.push_back(i);
    else
    {
      mControls[i] = defaults[i];
      lilv_instance_connect_port(mInstance, i, &mControls[i]);
    }
  }
  lilv_instance_activate(mInstance);
}

Instance::~Instance()
{
  lilv_instance_deactivate(mInstance);
  lilv_instance_free(mInstance);
}

float& Instance::Control(const char* symbol) { return mControls.at(mPorts.at(symbol)); }

void Instance::ConnectAudio(std::vector<float*> ins, std::vector<float*> outs)
{
  for (size_t i = 0; i < mAudioIn.size(); ++i)
    lilv_instance_connect_port(mInstance, mAudioIn[i], ins.at(i));
  for (size_t i = 0; i < mAudioOut.size(); ++i)
    lilv_instance_connect_port(mInstance, mAudioOut[i], outs.at(i));
}

namespace
{
const LV2_State_Interface* StateOf(const LilvInstance* inst)
{
  return static_cast<const LV2_State_Interface*>(
      lilv_instance_get_extension_data(inst, LV2_STATE__interface));
}

LV2_State_Status Store(LV2_State_Handle h, uint32_t key, const void* value, size_t size,
                       uint32_t type, uint32_t flags)
{
  Saved* s = static_cast<Saved*>(h);
  const auto* b = static_cast<const unsigned char*>(value);
  s->bytes.assign(b, b + size);
  s->key = key;
  s->type = type;
  s->flags = flags;
  return LV2_STATE_SUCCESS;
}

const void* Retrieve(LV2_State_Handle h, uint32_t key, size_t* size, uint32_t* type,
                     uint32_t* flags)
{
  const Saved* s = static_cast<const Saved*>(h);
  if (key != s->key) return nullptr;
  *size = s->bytes.size();
  *type = s->type;
  *flags = s->flags;
  static const unsigned char kEmpty = 0;
  return s->bytes.empty() ? &kEmpty : s->bytes.data();
}
} // namespace

LV2_State_Status Instance::Save(Saved* pOut)
{
  const LV2_State_Interface* state = StateOf(mInstance);
  if (!state) throw std::runtime_error("no state interface");
  return state->save(lilv_instance_get_handle(mInstance), &Store, pOut, 0, mFeatures);
}

LV2_State_Status Instance::Restore(const Saved& s)
{
  const LV2_State_Interface* state = StateOf(mInstance);
  if (!state) throw std::runtime_error("no state interface");
  return state->restore(lilv_instance_get_handle(mInstance), &Retrieve, const_cast<Saved*>(&s), 0,
                        mFeatures);
}
} // namespace lv2test
