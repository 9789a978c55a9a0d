#pragma once
// Plug-ins for the bridge tests, each with a creation procedure of its own,
// driven through the stand-in host exactly as Quorvane is.

#include "HostInstance.h"
#include "IPlugAAX.h"

#include <vector>

// One parameter of each kind: 0 bool, 1 enum (3 values), 2 int -5..5 "st",
// 3 double 0..10 with shape 2 "dB", 4 left uninitialised (no type).
// Records what the bridge calls; optionally does MIDI or declares a
// side-chain channel ("3-2" with one side-chain channel).
class RecordingAAXPlug : public IPlugAAX
{
public:
  enum EKind
  {
    kPlain,
    kMidi,
    kSideChain
  };
  static constexpr int kNumParams = 5;
  static constexpr int kUniqueID = 0x74457374; // 'tEst'

  explicit RecordingAAXPlug(EKind kind)
      : IPlugAAX(IPlugInstanceInfo(), kNumParams, kind == kSideChain ? "3-2" : "2-2", 1, "Rec",
                 "Rec product", "Rec maker", 0x10000, kUniqueID, 0x4D616B72, 0, kind == kMidi,
                 false, false, kind == kSideChain ? 1 : 0)
  {
    GetParam(0)->InitBool("Switch", false);
    GetParam(1)->InitEnum("Mode", 1, 3);
    GetParam(1)->SetDisplayText(0, "low");
    GetParam(1)->SetDisplayText(1, "mid");
    GetParam(1)->SetDisplayText(2, "high");
    GetParam(2)->InitInt("Steps", 2, -5, 5, "st");
    GetParam(3)->InitDouble("Gain", 2.5, 0.0, 10.0, 0.01, "dB", "", 2.0);
    midi.reserve(64);
    changes.reserve(64);
  }

  void OnParamChange(int idx) override
  {
    IMutexLock lock(this);
    if (changes.size() < changes.capacity()) changes.push_back(idx);
  }
  void ProcessMidiMsg(IMidiMsg* msg) override
  {
    if (midi.size() < midi.capacity()) midi.push_back(*msg);
  }
  // Channel 2 (the side-chain) is reported, then overwritten with 9 so a
  // later block shows whether its scratch buffer was cleared in between.
  void ProcessDoubleReplacing(double** inputs, double** outputs, int nFrames) override
  {
    ++blocks;
    if (NInChannels() > 2 && nFrames > 0)
    {
      sideChainSeen = inputs[2][0];
      for (int s = 0; s < nFrames; ++s) inputs[2][s] = 9.0;
    }
    IPlugAAX::ProcessDoubleReplacing(inputs, outputs, nFrames);
  }

  // Exposes the packet dispatcher so a test can give a parameter a packet.
  void RegisterTestPacket(const char* id, AAX_CFieldIndex port, const AAX_IPacketHandler& h)
  {
    mPacketDispatcher.RegisterPacket(id, port, &h);
  }

  std::vector<int> changes;
  std::vector<IMidiMsg> midi;
  int blocks = 0;
  double sideChainSeen = -1.0;

  static AAX_CEffectParameters* CreatePlain() { return Make(kPlain); }
  static AAX_CEffectParameters* CreateMidi() { return Make(kMidi); }
  static AAX_CEffectParameters* CreateSideChain() { return Make(kSideChain); }

private:
  static AAX_CEffectParameters* Make(EKind kind)
  {
    return static_cast<AAX_CIPlugParameters*>(new RecordingAAXPlug(kind));
  }
};

template <class F> aaxhost::CreationProc AsCreationProc(F* f)
{
  return reinterpret_cast<aaxhost::CreationProc>(f);
}
inline aaxhost::NativeRenderProc BridgeRenderProc()
{
  return reinterpret_cast<aaxhost::NativeRenderProc>(&AAX_CIPlugParameters::StaticRenderAudio);
}
template <class T> T* PlugOf(const aaxhost::HostInstance& instance)
{
  return dynamic_cast<T*>(instance.Parameters());
}
