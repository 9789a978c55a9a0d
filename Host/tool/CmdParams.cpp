// aaxhost params and aaxhost state: the parameter list of a fresh instance,
// and state chunk files saved from, shown in and loaded into one.

#include "ChunkFile.h"
#include "CmdLv2.h"
#include "Commands.h"
#include "Lv2Plugin.h"
#include "ParamTable.h"
#include "Paths.h"
#include "Plugin.h"
#include "ToolError.h"

#include <iostream>

namespace aaxtool
{
namespace
{
// Instances that only answer questions still get a realistic rate.
constexpr double kQuerySampleRate = 48000.0;
} // namespace

int RunParams(const ParamsOptions& o)
{
  if (IsLv2Target(o.bundle)) return RunParamsLv2(o);
  LoadedModule module(o.bundle);
  PluginInstance plug(module, kQuerySampleRate, 512);
  for (const std::string& a : o.params)
    plug.ApplyAssignment(a);
  if (o.json)
    std::cout << ParamsJSON(plug, true).dump(2) << "\n";
  else
    PrintParams(std::cout, plug, true);
  return kExitOK;
}

int RunState(const StateOptions& o)
{
  LoadedModule module(o.bundle);
  PluginInstance plug(module, kQuerySampleRate, 512);
  if (o.action == "save")
  {
    RequireOutputName(o.file, "state save");
    for (const std::string& a : o.params)
      plug.ApplyAssignment(a);
    const ChunkFile chunk = plug.SaveChunk();
    SaveChunkFile(o.file, chunk);
    if (o.json)
      std::cout << nlohmann::json{{"file", o.file},
                                  {"chunk", aaxhost::FourCC(chunk.chunkID)},
                                  {"version", chunk.version},
                                  {"bytes", chunk.data.size()},
                                  {"parameters", ParamsJSON(plug, false)}}
                       .dump(2)
                << "\n";
    else
    {
      std::cout << o.file << ": chunk '" << aaxhost::FourCC(chunk.chunkID) << "', "
                << chunk.data.size() << " bytes\n";
      PrintParams(std::cout, plug, false);
    }
    return kExitOK;
  }
  const ChunkFile chunk = LoadChunkFile(o.file);
  plug.LoadChunk(chunk, o.file);
  if (o.json)
    std::cout << nlohmann::json{{"file", o.file},
                                {"chunk", aaxhost::FourCC(chunk.chunkID)},
                                {"version", chunk.version},
                                {"bytes", chunk.data.size()},
                                {"parameters", ParamsJSON(plug, false)}}
                     .dump(2)
              << "\n";
  else
  {
    std::cout << o.file << ": chunk '" << aaxhost::FourCC(chunk.chunkID) << "' version "
              << chunk.version << ", " << chunk.data.size() << " bytes"
              << (o.action == "load" ? ", restored:" : ", holds:") << "\n";
    PrintParams(std::cout, plug, false);
  }
  return kExitOK;
}
} // namespace aaxtool
