// Feeds arbitrary data areas of the plug-in's state chunk ('ln0p') to a real
// Quorvane instance through SetChunk, loaded from its bundle as a workstation
// loads it, then holds the plug-in to what a host relies on after a restore:
//   - refused: the state is exactly what it was (the saved chunk unchanged);
//   - accepted: what it saves now restores to itself, byte for byte;
//   - either way CompareActiveChunk answers and a render of finite input gives
//     finite output.
// The record is allocated at exactly its size, so reads past it are caught.

#include "AAX_Errors.h"
#include "AAX_SPlugInChunk.h"
#include "Plugin.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace
{
constexpr AAX_CTypeID kStateChunk = 0x6C6E3070; // 'ln0p'
constexpr int kFrames = 64;

aaxtool::LoadedModule* gModule = nullptr;

struct Record
{
  explicit Record(size_t dataSize)
      : bytes(static_cast<uint8_t*>(std::calloc(1, kAAX_SPlugInChunkHeaderSize + dataSize)))
  {
  }
  ~Record() { std::free(bytes); }
  Record(const Record&) = delete;
  Record& operator=(const Record&) = delete;
  AAX_SPlugInChunk* get() { return reinterpret_cast<AAX_SPlugInChunk*>(bytes); }
  uint8_t* bytes;
};

// The chunk as the plug-in saves it now: its data area.
std::vector<uint8_t> Save(AAX_IACFEffectParameters* p)
{
  uint32_t size = 0;
  if (p->GetChunkSize(kStateChunk, &size) != AAX_SUCCESS) std::abort();
  if (size > (1u << 24)) std::abort(); // a state chunk of more than 16 MiB is a fault
  Record r(size);
  r.get()->fChunkID = kStateChunk;
  r.get()->fSize = static_cast<int32_t>(size);
  if (p->GetChunk(kStateChunk, r.get()) != AAX_SUCCESS) std::abort();
  const int32_t written = r.get()->fSize;
  if (written < 0 || static_cast<uint32_t>(written) > size) std::abort();
  const uint8_t* data = reinterpret_cast<const uint8_t*>(r.get()->fData);
  return std::vector<uint8_t>(data, data + written);
}

AAX_Result Restore(AAX_IACFEffectParameters* p, const uint8_t* data, size_t size, bool compare)
{
  Record r(size);
  r.get()->fChunkID = kStateChunk;
  r.get()->fSize = static_cast<int32_t>(size);
  if (size) std::memcpy(r.get()->fData, data, size);
  if (compare)
  {
    AAX_CBoolean equal = 0;
    if (p->CompareActiveChunk(r.get(), &equal) != AAX_SUCCESS) std::abort();
  }
  return p->SetChunk(kStateChunk, r.get());
}

void RenderFinite(aaxtool::PluginInstance& plug)
{
  std::vector<float> in[2], out[2];
  float* ins[2];
  float* outs[2];
  for (int c = 0; c < 2; ++c)
  {
    in[c].resize(kFrames);
    out[c].assign(kFrames, 0.0f);
    for (int i = 0; i < kFrames; ++i)
      in[c][static_cast<size_t>(i)] = (c ? -0.25f : 0.5f) * static_cast<float>(i % 7 - 3);
    ins[c] = in[c].data();
    outs[c] = out[c].data();
  }
  plug.Render(ins, outs, kFrames);
  for (int c = 0; c < 2; ++c)
    for (float v : out[c])
      if (!std::isfinite(v)) std::abort();
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
  // One load for the whole run: the module is the thing under test, and
  // loading it per input would measure the loader instead.
  gModule = new aaxtool::LoadedModule(QV_QUORVANE_BUNDLE);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  aaxtool::PluginInstance plug(*gModule, 48000.0, kFrames);
  AAX_IACFEffectParameters* p = plug.Parameters();

  const std::vector<uint8_t> before = Save(p);
  const AAX_Result r = Restore(p, data, size, true);
  const std::vector<uint8_t> after = Save(p);
  if (r != AAX_SUCCESS)
  {
    if (after != before) std::abort(); // refused, but something was applied
  }
  else
  {
    if (Restore(p, after.data(), after.size(), false) != AAX_SUCCESS) std::abort();
    if (Save(p) != after) std::abort();
  }
  RenderFinite(plug);
  return 0;
}
