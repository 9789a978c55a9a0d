// The tool's view of a module: the bundle loaded through aaxhost::Module, and
// effect instances on their own stand-in hosts, driven as a workstation
// drives an inserted plug-in (sample rate through the controller, values
// through UpdateParameterNormalizedValue, chunks, the native render call).
#pragma once

#include "Automation.h"
#include "ChunkFile.h"
#include "HostedEffect.h"
#include "Module.h"

#include <memory>
#include <string>
#include <vector>

namespace aaxtool
{
class LoadedModule
{
public:
  // Loads bundle and checks it describes an effect with a creation procedure
  // and a native render procedure. Fails with "BUNDLE: why". [host]
  explicit LoadedModule(const std::string& bundle);
  ~LoadedModule();
  LoadedModule(const LoadedModule&) = delete;
  LoadedModule& operator=(const LoadedModule&) = delete;

  const std::string& Path() const { return mPath; }
  aaxhost::Module& Module() { return *mModule; }
  const aaxhost::Description& Description() const { return mModule->GetDescription(); }
  // The first effect (the one the tool hosts).
  const aaxhost::DescribedEffect& Effect() const { return Description().effects.front(); }
  aaxhost::CreationProc CreateEffect() const;
  aaxhost::CreationProc CreateEditor() const; // null without an editor
  aaxhost::NativeRenderProc RenderProc() const { return mRender; }
  aaxhost::RenderLayout Layout(int maxFrames) const;
  int Inputs() const { return mInputs; }
  int Outputs() const { return mOutputs; }

  // Unloads; the live-object count and message when the module refused.
  aaxhost::ModuleResult Unload();

private:
  std::string mPath;
  std::unique_ptr<aaxhost::StandInHost> mHost;
  std::unique_ptr<aaxhost::Module> mModule;
  aaxhost::NativeRenderProc mRender = nullptr;
  const aaxhost::DescribedComponent* mComponent = nullptr;
  int mInputs = 0, mOutputs = 0;
};

struct ParamInfo
{
  std::string id, name;
  bool continuous = false;
  int32_t steps = 0;
  bool automatable = false;
  double defaultValue = 0.0, value = 0.0; // normalised
  std::string valueText;
};

class PluginInstance
{
public:
  // A new instance on its own host that answers sampleRate, initialised and
  // with its render context's fields initialised. Fails naming the bundle.
  PluginInstance(const LoadedModule& module, double sampleRate, int maxFrames);
  ~PluginInstance();
  PluginInstance(const PluginInstance&) = delete;
  PluginInstance& operator=(const PluginInstance&) = delete;

  AAX_IACFEffectParameters* Parameters() const { return mEffect->Parameters(); }
  aaxhost::HostInstance& Instance() { return mEffect->Instance(); }
  aaxhost::StandInHost& Host() { return mEffect->Host(); }

  // [host] Every host parameter in index order, with its current value.
  std::vector<ParamInfo> Params() const;
  // [host] The identifier for an identifier or a name, matched exactly, else
  // regardless of case when only one parameter matches; fails naming key
  // (a usage error: the command line or a file named no such parameter).
  std::string Resolve(const std::string& key) const;
  // [host] A normalised value: a number is taken as one (0..1), a text is
  // parsed by the parameter (its display texts), else matched regardless of
  // case against a discrete parameter's step texts when only one step
  // matches. Fails naming where (a usage error).
  double ParseValue(const std::string& id, const ValueSpec& value, const std::string& where) const;
  // [host] The display text of a normalised value.
  std::string Text(const std::string& id, double normalized) const;
  // [host] As automation playback does: UpdateParameterNormalizedValue.
  void Update(const std::string& id, double normalized);

  // [host] The plug-in's first chunk, and restoring one (refused when the
  // plug-in has no chunk of that identifier). where names the file.
  ChunkFile SaveChunk() const;
  void LoadChunk(const ChunkFile& chunk, const std::string& where);

  // The latency the plug-in reported to the controller.
  int32_t Latency() const;
  // [audio] One render call on the host's buffers (one per channel).
  void Render(float** inputs, float** outputs, int32_t frames);

private:
  bool StepFromText(const std::string& id, const std::string& text, double* normalized) const;

  const LoadedModule& mModule;
  std::unique_ptr<aaxhost::HostedEffect> mEffect;
};
} // namespace aaxtool
