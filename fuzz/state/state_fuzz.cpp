// Feeds arbitrary bytes to the state and preset readers. The first byte picks
// the reader; the rest is the data. Program and bank files are read both
// from memory and, now and then, through a real file.

#include "HostRenderContext.h"
#include "Quorvane.h"

#include <cstdint>
#include <cstdio>
#include <memory>
#include <unistd.h>

namespace
{
// A plug-in with state chunks on, so the chunk forms of the files are read.
class ChunkQuorvane : public IPlugAAX
{
public:
  ChunkQuorvane()
      : IPlugAAX(IPlugInstanceInfo(), 2, "2-2", 2, "Quorvane", "", "Orvantine", 0x10000,
                 0x6C6E3070, 0x4F76746E, 0, false, true, false, 0)
  {
    GetParam(0)->InitBool("Swap", false, "Swap", "");
    GetParam(1)->InitDouble("Gain", 0.0, -60.0, 12.0, 0.1, "dB", "", 2.0);
    MakeDefaultPreset("Default", 1);
  }
};

std::string TempPath()
{
  char path[64];
  std::snprintf(path, sizeof(path), "/tmp/state_fuzz_%d.bin", static_cast<int>(getpid()));
  return path;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  if (size < 1) return 0;
  const uint8_t selector = data[0];
  ByteChunk chunk;
  chunk.PutBytes(data + 1, static_cast<int>(size - 1));

  std::unique_ptr<IPlugAAX> plug;
  if (selector & 0x10)
    plug.reset(new ChunkQuorvane);
  else
    plug.reset(MakePlug());

  switch (selector & 0x0F)
  {
  case 0: plug->UnserializeState(&chunk, 0); break;
  case 1: plug->UnserializePresets(&chunk, 0); break;
  case 2: plug->LoadProgramFromFXPData(&chunk); break;
  case 3: plug->LoadBankFromFXBData(&chunk); break;
  case 4:
  case 5:
  {
    const std::string path = TempPath();
    if (FILE* fp = std::fopen(path.c_str(), "wb"))
    {
      std::fwrite(chunk.GetBytes(), 1, static_cast<size_t>(chunk.Size()), fp);
      std::fclose(fp);
      if ((selector & 0x0F) == 4)
        plug->LoadProgramFromFXP(path.c_str());
      else
        plug->LoadBankFromFXB(path.c_str());
      std::remove(path.c_str());
    }
    break;
  }
  default: return 0;
  }

  // Whatever was read, the plug-in must still serialise and render.
  ByteChunk out;
  plug->SerializeState(&out);
  plug->SerializePresets(&out);
  float l[8] = {0.25f}, r[8] = {-0.5f};
  float* ins[] = {l, r};
  aaxhost::RenderContext ctx(aaxhost::RenderLayout(), nullptr);
  ctx.Field(aaxhost::kFieldAudioIn) = ins;
  ctx.Field(aaxhost::kFieldAudioOut) = ins;
  ctx.SetFrames(8);
  plug->ResetFieldData(aaxhost::kFieldPrivate, ctx.PrivateBlock(), 8);
  void* context = ctx.Fields();
  AAX_CIPlugParameters::StaticRenderAudio(reinterpret_cast<AAX_SIPlugRenderInfo* const*>(&context),
                                          &context + 1);
  return 0;
}
