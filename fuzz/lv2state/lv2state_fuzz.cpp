// Feeds arbitrary bytes as the state value to a real Quorvane LV2 instance,
// loaded from its bundle binary with dlopen as a host loads it, through the
// state interface's restore, then holds the plug-in to what a host relies on:
//   - refused: what it saves is byte for byte what it saved before;
//   - accepted: what it saves now restores to itself, byte for byte;
//   - either way a run of finite input gives finite output.
// The first input byte chooses the value's type (atom:Chunk or another), so
// the type check is fuzzed too.

#include <dlfcn.h>
#include <lv2/atom/atom.h>
#include <lv2/core/lv2.h>
#include <lv2/state/state.h>
#include <lv2/urid/urid.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace
{
constexpr uint32_t kFrames = 64;

std::map<std::string, LV2_URID> gIds;
LV2_URID Map(LV2_URID_Map_Handle, const char* uri)
{
  auto it = gIds.find(uri);
  if (it != gIds.end()) return it->second;
  const auto id = static_cast<LV2_URID>(gIds.size() + 1);
  gIds.emplace(uri, id);
  return id;
}
LV2_URID_Map gMap = {nullptr, &Map};
const LV2_Feature gMapFeature = {LV2_URID__map, &gMap};
const LV2_Feature* const gFeatures[] = {&gMapFeature, nullptr};
const LV2_Descriptor* gDesc = nullptr;

struct Value
{
  const void* data = nullptr;
  size_t size = 0;
  uint32_t type = 0;
  uint32_t key = 0;
  std::vector<uint8_t> saved;
};

LV2_State_Status Store(LV2_State_Handle h, uint32_t key, const void* v, size_t size, uint32_t type,
                       uint32_t)
{
  Value* s = static_cast<Value*>(h);
  if (size > (1u << 20)) std::abort(); // a state of more than 1 MiB is a fault
  s->key = key;
  s->type = type;
  s->saved.assign(static_cast<const uint8_t*>(v), static_cast<const uint8_t*>(v) + size);
  return LV2_STATE_SUCCESS;
}

const void* Retrieve(LV2_State_Handle h, uint32_t key, size_t* size, uint32_t* type,
                     uint32_t* flags)
{
  const Value* s = static_cast<const Value*>(h);
  if (key != s->key) return nullptr;
  *size = s->size;
  *type = s->type;
  *flags = LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE;
  return s->data;
}

std::vector<uint8_t> Save(const LV2_State_Interface* st, LV2_Handle h, Value* v)
{
  if (st->save(h, &Store, v, 0, gFeatures) != LV2_STATE_SUCCESS) std::abort();
  return v->saved;
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
  void* lib = dlopen(QV_QUORVANE_LV2_SO, RTLD_NOW | RTLD_LOCAL);
  if (!lib) std::abort();
  auto entry = reinterpret_cast<LV2_Descriptor_Function>(dlsym(lib, "lv2_descriptor"));
  gDesc = entry ? entry(0) : nullptr;
  if (!gDesc) std::abort();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  LV2_Handle h = gDesc->instantiate(gDesc, 48000.0, "", gFeatures);
  if (!h) std::abort();
  const auto* st =
      static_cast<const LV2_State_Interface*>(gDesc->extension_data(LV2_STATE__interface));
  float controls[2] = {0.0f, 0.0f}, latency = -1.0f;
  float in[2][kFrames], out[2][kFrames];
  for (uint32_t i = 0; i < kFrames; ++i)
  {
    in[0][i] = 0.5f * static_cast<float>(static_cast<int>(i % 7) - 3);
    in[1][i] = -0.25f * static_cast<float>(static_cast<int>(i % 5) - 2);
  }
  gDesc->connect_port(h, 0, &controls[0]);
  gDesc->connect_port(h, 1, &controls[1]);
  gDesc->connect_port(h, 2, in[0]);
  gDesc->connect_port(h, 3, in[1]);
  gDesc->connect_port(h, 4, out[0]);
  gDesc->connect_port(h, 5, out[1]);
  gDesc->connect_port(h, 6, &latency);
  if (gDesc->activate) gDesc->activate(h);

  Value v;
  const std::vector<uint8_t> before = Save(st, h, &v);
  const bool chunkType = size == 0 || data[0] != 0xFF;
  v.type = chunkType ? Map(nullptr, LV2_ATOM__Chunk) : Map(nullptr, LV2_ATOM__String);
  v.data = size > 1 ? data + 1 : data;
  v.size = size > 1 ? size - 1 : 0;
  const LV2_State_Status r = st->restore(h, &Retrieve, &v, 0, gFeatures);
  const std::vector<uint8_t> after = Save(st, h, &v);
  if (r != LV2_STATE_SUCCESS)
  {
    if (after != before) std::abort(); // refused, but something was applied
  }
  else
  {
    if (!chunkType) std::abort(); // a value of the wrong type was taken
    v.data = after.data();
    v.size = after.size();
    v.type = Map(nullptr, LV2_ATOM__Chunk);
    if (st->restore(h, &Retrieve, &v, 0, gFeatures) != LV2_STATE_SUCCESS) std::abort();
    if (Save(st, h, &v) != after) std::abort();
  }
  gDesc->run(h, kFrames);
  for (auto& ch : out)
    for (float s : ch)
      if (!std::isfinite(s)) std::abort();
  if (latency != 0.0f) std::abort();
  if (gDesc->deactivate) gDesc->deactivate(h);
  gDesc->cleanup(h);
  return 0;
}
