#include "Plugin.h"

#include "AAX_CString.h"
#include "AAX_DescriptionTypes.h"
#include "AAX_Errors.h"
#include "AAX_SPlugInChunk.h"
#include "Text.h"
#include "ToolError.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace aaxtool
{
namespace
{
int StemChannels(int32_t stem) { return static_cast<int>(static_cast<uint32_t>(stem) & 0xFFFF); }
} // namespace

LoadedModule::LoadedModule(const std::string& bundle)
    : mPath(bundle), mHost(std::make_unique<aaxhost::StandInHost>()),
      mModule(std::make_unique<aaxhost::Module>(*mHost))
{
  const aaxhost::ModuleResult r = mModule->Load(bundle);
  if (!r.ok())
    Fail(r.message.find(bundle) == std::string::npos ? bundle + ": " + r.message : r.message);
  const aaxhost::Description& d = mModule->GetDescription();
  if (d.effects.empty()) Fail(bundle + ": the module describes no effect");
  const aaxhost::DescribedEffect& e = d.effects.front();
  if (!e.procPtrs.count(0) || !e.procPtrs.at(0))
    Fail(bundle + ": effect \"" + e.id + "\" has no effect-parameters creation procedure");
  for (const aaxhost::DescribedComponent& c : e.components)
    for (const aaxhost::DescribedProcessProc& p : c.processProcs)
    {
      if (mRender || !p.native) continue;
      void* proc = reinterpret_cast<void*>(p.process);
      if (!proc && p.properties.pointers.count(AAX_eProperty_NativeProcessProc))
        proc = const_cast<void*>(p.properties.pointers.at(AAX_eProperty_NativeProcessProc));
      if (!proc) continue;
      mRender = reinterpret_cast<aaxhost::NativeRenderProc>(proc);
      mComponent = &c;
      mInputs = StemChannels(p.properties.Value(AAX_eProperty_InputStemFormat, 0));
      mOutputs = StemChannels(p.properties.Value(AAX_eProperty_OutputStemFormat, 0));
    }
  if (!mRender) Fail(bundle + ": effect \"" + e.id + "\" has no native render procedure");
  // Without stem formats, the audio fields say how many channels there are.
  if (mInputs == 0 && mComponent->Field(aaxhost::kFieldAudioIn)) mInputs = 2;
  if (mOutputs == 0 && mComponent->Field(aaxhost::kFieldAudioOut)) mOutputs = 2;
}

LoadedModule::~LoadedModule() = default;

aaxhost::CreationProc LoadedModule::CreateEffect() const
{
  return reinterpret_cast<aaxhost::CreationProc>(Effect().procPtrs.at(0));
}

aaxhost::CreationProc LoadedModule::CreateEditor() const
{
  const auto it = Effect().procPtrs.find(1);
  return it == Effect().procPtrs.end() ? nullptr
                                       : reinterpret_cast<aaxhost::CreationProc>(it->second);
}

aaxhost::RenderLayout LoadedModule::Layout(int maxFrames) const
{
  aaxhost::RenderLayout layout;
  layout.inputs = mInputs;
  layout.outputs = mOutputs;
  layout.maxFrames = maxFrames;
  auto kind = [&](int index)
  {
    const aaxhost::DescribedField* f = mComponent->Field(index);
    return f ? f->kind : std::string();
  };
  layout.sideChain = kind(aaxhost::kFieldSideChain) == "SideChainIn";
  layout.inputMIDI = kind(aaxhost::kFieldInputMIDI) == "MIDINode";
  layout.globalMIDI = kind(aaxhost::kFieldGlobalMIDI) == "MIDINode";
  layout.transport = kind(aaxhost::kFieldTransport) == "MIDINode";
  if (const aaxhost::DescribedField* m = mComponent->Field(aaxhost::kFieldMeters))
    if (m->kind == "Meters" && !m->numbers.empty()) layout.meters = static_cast<int>(m->numbers[0]);
  return layout;
}

aaxhost::ModuleResult LoadedModule::Unload() { return mModule->Unload(); }

PluginInstance::PluginInstance(const LoadedModule& module, double sampleRate, int maxFrames)
    : mModule(module)
{
  aaxhost::ControllerState state;
  state.effectID = module.Effect().id;
  state.sampleRate = static_cast<float>(sampleRate);
  state.inputStemFormat = AAX_STEM_FORMAT(1, static_cast<uint16_t>(module.Inputs()));
  state.outputStemFormat = AAX_STEM_FORMAT(1, static_cast<uint16_t>(module.Outputs()));
  mEffect = std::make_unique<aaxhost::HostedEffect>(module.CreateEffect(), module.RenderProc(),
                                                    module.Layout(maxFrames), state);
  if (!mEffect->Valid()) Fail(module.Path() + ": " + mEffect->Failure());
  // A workstation's automation delegate applies what the plug-in asks of it
  // (chunk restores, editor gestures) by sending it back as an update.
  mEffect->Instance().EchoAutomation(true);
}

PluginInstance::~PluginInstance() = default;

std::vector<ParamInfo> PluginInstance::Params() const
{
  AAX_IACFEffectParameters* p = Parameters();
  int32_t n = 0;
  p->GetNumberOfParameters(&n);
  std::vector<ParamInfo> out;
  for (int32_t i = 0; i < n; ++i)
  {
    AAX_CString id, name, text;
    if (p->GetParameterIDFromIndex(i, &id) != AAX_SUCCESS) continue;
    ParamInfo info;
    info.id = id.StdString();
    p->GetParameterName(id.Get(), &name);
    info.name = name.StdString();
    AAX_EParameterType type = AAX_eParameterType_Discrete;
    p->GetParameterType(id.Get(), &type);
    info.continuous = type == AAX_eParameterType_Continuous;
    p->GetParameterNumberOfSteps(id.Get(), &info.steps);
    AAX_CBoolean automatable = 0;
    p->GetParameterIsAutomatable(id.Get(), &automatable);
    info.automatable = automatable != 0;
    p->GetParameterDefaultNormalizedValue(id.Get(), &info.defaultValue);
    p->GetParameterNormalizedValue(id.Get(), &info.value);
    p->GetParameterValueString(id.Get(), &text, 64);
    info.valueText = text.StdString();
    out.push_back(std::move(info));
  }
  return out;
}

std::string PluginInstance::Resolve(const std::string& key) const
{
  const std::vector<ParamInfo> params = Params();
  for (const ParamInfo& p : params)
    if (p.id == key) return p.id;
  for (const ParamInfo& p : params)
    if (p.name == key) return p.id;
  // Then regardless of case, when only one parameter answers to it.
  std::vector<const ParamInfo*> folded;
  for (const ParamInfo& p : params)
    if (SameLetters(p.id, key) || SameLetters(p.name, key)) folded.push_back(&p);
  if (folded.size() == 1) return folded.front()->id;
  if (folded.size() > 1)
    Usage("parameter \"" + key + "\" is ambiguous: " + folded[0]->id + " (" + folded[0]->name +
          ") and " + folded[1]->id + " (" + folded[1]->name + ") differ only in case");
  std::string known;
  for (const ParamInfo& p : params)
    known += (known.empty() ? "" : ", ") + p.id + " (" + p.name + ")";
  Usage("unknown parameter \"" + key + "\" (this plug-in has " + known + ")");
}

double PluginInstance::ParseValue(const std::string& id, const ValueSpec& value,
                                  const std::string& where) const
{
  double v = value.number;
  if (value.isText && !IsNumber(value.text, v))
  {
    if (Parameters()->GetParameterValueFromString(id.c_str(), &v, AAX_CString(value.text)) !=
            AAX_SUCCESS &&
        !StepFromText(id, value.text, &v))
      Usage(where + ": \"" + value.text + "\" is no value of parameter " + id +
            " (give a display text such as \"" + Text(id, 0.0) + "\" or a number from 0 to 1)");
    return v;
  }
  if (!(v >= 0.0 && v <= 1.0))
  {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%g", v);
    Usage(where + ": value " + buf + " of parameter " + id + " is outside 0..1 (normalised)");
  }
  return v;
}

bool PluginInstance::StepFromText(const std::string& id, const std::string& text,
                                  double* normalized) const
{
  AAX_IACFEffectParameters* p = Parameters();
  AAX_EParameterType type = AAX_eParameterType_Continuous;
  int32_t steps = 0;
  p->GetParameterType(id.c_str(), &type);
  p->GetParameterNumberOfSteps(id.c_str(), &steps);
  if (type != AAX_eParameterType_Discrete || steps < 2 || steps > 4096) return false;
  int found = 0;
  for (int32_t i = 0; i < steps; ++i)
  {
    const double v = double(i) / double(steps - 1);
    if (!SameLetters(Text(id, v), text)) continue;
    *normalized = v;
    ++found;
  }
  return found == 1;
}

std::string PluginInstance::Text(const std::string& id, double normalized) const
{
  AAX_CString text;
  if (Parameters()->GetParameterStringFromValue(id.c_str(), normalized, &text, 64) != AAX_SUCCESS)
    return "?";
  return text.StdString();
}

void PluginInstance::Update(const std::string& id, double normalized)
{
  const AAX_Result r = mEffect->Update(id.c_str(), normalized);
  if (r != AAX_SUCCESS) Fail(aaxhost::WithCode("parameter " + id + " refused its value", r));
}

ChunkFile PluginInstance::SaveChunk() const
{
  AAX_IACFEffectParameters* p = Parameters();
  int32_t count = 0;
  AAX_CTypeID id = 0;
  if (p->GetNumberOfChunks(&count) != AAX_SUCCESS || count < 1 ||
      p->GetChunkIDFromIndex(0, &id) != AAX_SUCCESS)
    Fail(mModule.Path() + ": the plug-in keeps no state chunk");
  uint32_t size = 0;
  AAX_Result r = p->GetChunkSize(id, &size);
  if (r != AAX_SUCCESS) Fail(mModule.Path() + ": " + aaxhost::WithCode("no chunk size", r));
  std::vector<char> record(kAAX_SPlugInChunkHeaderSize + size + 1, 0);
  auto* chunk = reinterpret_cast<AAX_SPlugInChunk*>(record.data());
  chunk->fSize = static_cast<int32_t>(size);
  chunk->fChunkID = id;
  r = p->GetChunk(id, chunk);
  if (r != AAX_SUCCESS) Fail(mModule.Path() + ": " + aaxhost::WithCode("GetChunk failed", r));
  if (chunk->fSize < 0 || static_cast<uint32_t>(chunk->fSize) > size)
    Fail(mModule.Path() + ": the plug-in wrote more chunk data than it announced");
  ChunkFile out;
  out.chunkID = id;
  out.version = chunk->fVersion;
  out.name.assign(chunk->fName, strnlen(chunk->fName, sizeof chunk->fName));
  out.data.assign(chunk->fData, chunk->fData + chunk->fSize);
  return out;
}

void PluginInstance::LoadChunk(const ChunkFile& file, const std::string& where)
{
  AAX_IACFEffectParameters* p = Parameters();
  int32_t count = 0;
  p->GetNumberOfChunks(&count);
  std::string ids;
  bool known = false;
  for (int32_t i = 0; i < count; ++i)
  {
    AAX_CTypeID id = 0;
    if (p->GetChunkIDFromIndex(i, &id) != AAX_SUCCESS) continue;
    known = known || id == file.chunkID;
    ids += (ids.empty() ? "'" : ", '") + aaxhost::FourCC(id) + "'";
  }
  if (!known)
    Fail(where + ": chunk '" + aaxhost::FourCC(file.chunkID) +
         "' is not this plug-in's (it keeps " + (ids.empty() ? std::string("none") : ids) + ")");
  std::vector<char> record(kAAX_SPlugInChunkHeaderSize + file.data.size() + 1, 0);
  auto* chunk = reinterpret_cast<AAX_SPlugInChunk*>(record.data());
  chunk->fSize = static_cast<int32_t>(file.data.size());
  chunk->fVersion = file.version;
  chunk->fChunkID = file.chunkID;
  std::strncpy(chunk->fName, file.name.c_str(), sizeof chunk->fName - 1);
  if (!file.data.empty()) std::memcpy(chunk->fData, file.data.data(), file.data.size());
  const AAX_Result r = p->SetChunk(file.chunkID, chunk);
  if (r != AAX_SUCCESS) Fail(where + ": " + aaxhost::WithCode("the plug-in refused the chunk", r));
}

int32_t PluginInstance::Latency() const
{
  return mEffect->Host().Controller()->State().signalLatency;
}

void PluginInstance::Render(float** inputs, float** outputs, int32_t frames)
{
  mEffect->Render(inputs, outputs, frames);
}
} // namespace aaxtool
