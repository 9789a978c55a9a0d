#pragma once
// IPlugAAX: the AAX wrapper's plug-in-base side. It sets the instance up the
// way an AAX host expects (all channels connected, a delay line for bypass,
// block size 1024, host "ProTools") and supplies the wrapper operations of
// IPlugBase. The host-facing effect-parameters side joins it in the AAX
// bridge; until then the inform-host and transport operations are inert.

#include "IPlugBase.h"

// Per-instance information a wrapper hands to the plug-in's constructor;
// AAX has none.
struct IPlugInstanceInfo
{
};

class IPlugAAX : public IPlugBase
{
public:
  IPlugAAX(IPlugInstanceInfo instanceInfo, int nParams, const char* channelIOStr, int nPresets,
           const char* effectName, const char* productName, const char* mfrName,
           int vendorVersion, int uniqueID, int mfrID, int latency, bool plugDoesMidi,
           bool plugDoesChunks, bool plugIsInst, int plugScChans);
  ~IPlugAAX() override = default;

  // [gui] No host is connected yet: nothing to touch, send or release.
  void BeginInformHostOfParamChange(int /*paramIdx*/) override {}
  void InformHostOfParamChange(int /*paramIdx*/, double /*normalizedValue*/) override {}
  void EndInformHostOfParamChange(int /*paramIdx*/) override {}
  void InformHostOfProgramChange() override {}

  // [audio] Without a host transport: position 0, tempo 0, 4/4, a record
  // left at its defaults.
  int GetSamplePos() override { return 0; }
  double GetTempo() override { return 0.0; }
  void GetTimeSig(int* pNum, int* pDenom) override;
  void GetTime(ITimeInfo* /*pTimeInfo*/) override {}

  void ResizeGraphics(int /*w*/, int /*h*/) override {}
  // MIDI output is not supported through AAX: nothing is sent.
  bool SendMidiMsg(IMidiMsg* /*pMsg*/) override { return false; }

  // [host] The host-to-plug-in parameter path: under the plug-in mutex, set
  // the normalised value, show it in the editor (when there is one) and call
  // OnParamChange. Ignores indices that name no parameter.
  void SetParameterFromHost(int paramIdx, double normalizedValue);

  // [audio] One render call on host float buffers: under the plug-in mutex,
  // connects the first nIn inputs and nOut outputs (the rest disconnected),
  // attaches the buffers and runs the plug-in, or passes the input through
  // (delayed by the latency) when bypassed. Allocates nothing.
  void RenderFloatBlock(float** inputs, int nIn, float** outputs, int nOut, int nFrames,
                        bool bypass);

  int GetSideChainChannels() const { return mSideChainChannels; }

private:
  int mSideChainChannels;
};

// The plug-in's factory, defined by the product: a new instance the caller owns.
IPlugAAX* MakePlug();
