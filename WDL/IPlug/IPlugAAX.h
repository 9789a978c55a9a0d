#pragma once
// IPlugAAX: the AAX bridge. It joins the host-independent plug-in base to the
// host's effect-parameters interface: every IParam is mirrored as a host
// parameter (identifier "i + 1") beside the master bypass, value changes are
// carried both ways, the host's render call runs the plug-in, the state is
// one chunk named by the plug-in's unique ID, and the base's questions about
// time, tempo and latency are answered from the host.
//
// Thread tags: [audio] the host's render thread, [host] the host's other
// threads, [gui] the editor thread, [any] any of them.

#include "AAX_CIPlugParameters.h"
#include "IPlugBase.h"

template <typename T> class AAX_CParameter;

// Per-instance information a wrapper hands to the plug-in's constructor;
// AAX has none.
struct IPlugInstanceInfo
{
};

class IPlugAAX : public IPlugBase, public AAX_CIPlugParameters
{
public:
  IPlugAAX(IPlugInstanceInfo instanceInfo, int nParams, const char* channelIOStr, int nPresets,
           const char* effectName, const char* productName, const char* mfrName,
           int vendorVersion, int uniqueID, int mfrID, int latency, bool plugDoesMidi,
           bool plugDoesChunks, bool plugIsInst, int plugScChans);
  // Deletes the identifier texts; the parameter manager deletes the host
  // parameters.
  ~IPlugAAX() override;

  // [host] The effect-parameters creation procedure: a new plug-in (MakePlug)
  // as its effect-parameters object, with no reference taken yet; null when
  // the factory gives none.
  static AAX_CEffectParameters* Create();

  // ---- Plug-in to host (the base's GUI path, by plug-in parameter index) ----

  // [gui] Touch / release the parameter's host identifier. Indices that name
  // no parameter are ignored.
  void BeginInformHostOfParamChange(int paramIdx) override;
  void EndInformHostOfParamChange(int paramIdx) override;
  // [any, under the plug-in mutex] Posts the value to the host's automation;
  // the value itself changes when the host answers with
  // UpdateParameterNormalizedValue.
  void InformHostOfParamChange(int paramIdx, double normalizedValue) override;
  // [any] Nothing: AAX has no program list.
  void InformHostOfProgramChange() override {}

  // ---- Host time (from the transport of the latest render call) ----
  // Before the first render call there is no transport: tempo 120, 4/4,
  // sample position 0, transport stopped, no loop.

  // [audio] The lower 32 bits of the current native sample location.
  int GetSamplePos() override;
  double GetTempo() override;
  void GetTimeSig(int* pNum, int* pDenom) override;
  // [audio] Fills tempo, running flag, meter, musical position (ticks /
  // 960000), sample position, loop flag and cycle start/end; leaves the
  // last-bar field as it was.
  void GetTime(ITimeInfo* pTimeInfo) override;

  // [gui] Asks the editor's host view container for the size (when an editor
  // with a container exists), then OnWindowResize (when an editor exists).
  void ResizeGraphics(int w, int h) override;
  // [host] Tells the host the new latency (once initialised), then the base.
  void SetLatency(int samples) override;
  // [audio] MIDI output is not supported through AAX: false, nothing sent.
  bool SendMidiMsg(IMidiMsg* /*pMsg*/) override { return false; }
  // [any] The host's compare state changed: counts one change.
  void DirtyPTCompareState() override;

  // ---- Host to plug-in (effect-parameters operations) ----

  // [host] Under the plug-in mutex: stores the value (clamped to 0..1, NaN
  // as 0) in the host parameter; for a plug-in parameter also sets the
  // IParam, shows it in the editor and calls OnParamChange. Then marks the
  // identifier dirty and counts a change. -20001 for an unknown identifier
  // (nothing changes); otherwise the dispatcher's result. The host calls one
  // control operation at a time per instance.
  AAX_Result UpdateParameterNormalizedValue(AAX_CParamID iParameterID, double iValue,
                                            AAX_EUpdateSource iSource) override;

  // [audio] One render context, all under the plug-in mutex: bypass, MIDI
  // input, transport, side-chain, attaching and processing (or passing
  // through). Contexts without buffer arrays or with a negative frame count
  // render nothing. Allocates nothing.
  void RenderAudio(AAX_SIPlugRenderInfo* ioRenderInfo) override;

  // ---- The state chunk: one chunk, identified by the unique ID ----

  // [host] Index 0 gives the unique ID; others give 0 and -20006.
  AAX_Result GetChunkIDFromIndex(int32_t iIndex, AAX_CTypeID* oChunkID) const override;
  // [host] The size of the serialised state (left unwritten when serialising
  // fails); other IDs give 0 and -20007.
  AAX_Result GetChunkSize(AAX_CTypeID iChunkID, uint32_t* oSize) const override;
  // [host] Writes the size and the state bytes into the host's record, which
  // must hold GetChunkSize bytes; -20007 for other IDs or a failed serialisation.
  AAX_Result GetChunk(AAX_CTypeID iChunkID, AAX_SPlugInChunk* oChunk) const override;
  // [host] Restores the state, posts every parameter's value to the host,
  // redraws the editor's controls, counts a change; -20007 for other IDs.
  AAX_Result SetChunk(AAX_CTypeID iChunkID, const AAX_SPlugInChunk* iChunk) override;
  // [host] Equal for a record of another ID; otherwise whether the record's
  // state matches the live parameters (a record shorter than the state is
  // unequal). 0.
  AAX_Result CompareActiveChunk(const AAX_SPlugInChunk* iChunk,
                                AAX_CBoolean* oIsEqual) const override;

  int GetSideChainChannels() const { return mNumSideChainChannels; }
  // The host identifier of plug-in parameter paramIdx ("paramIdx + 1"), or null.
  const char* GetParamID(int paramIdx) const;

  // [host] Forgets the master bypass before the base deletes the parameters,
  // so a render call that still comes reads it as off rather than freed.
  AAX_Result Uninitialize() override;

protected:
  // [host] Builds the master bypass and one host parameter per IParam, reads
  // the sample rate and resets the plug-in. 0.
  AAX_Result EffectInit() override;

private:
  // Owned by the parameter manager; null before EffectInit and after
  // Uninitialize, which deletes it. Its own type, so the render call reads it
  // without a dispatch.
  AAX_CParameter<bool>* mBypassParameter = nullptr;
  // The host transport of the latest render call (the base's mTransport is
  // the wrapper made at Initialize; this one comes with every context).
  AAX_ITransport* mRenderTransport = nullptr;
  WDL_PtrList<WDL_String> mParamIDs; // owned; entry i is "i + 1"
  bool mSideChainIsConnected = false;
  int mNumSideChainChannels;
};

// The plug-in's factory, defined by the product: a new instance the caller owns.
IPlugAAX* MakePlug();
