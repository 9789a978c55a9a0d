#pragma once
// IPlugLV2: the LV2 wrapper. It joins the host-independent plug-in base to
// LV2's C interface: every IParam is a control input port in its real value,
// the channel configuration gives the audio ports, a last control output
// reports the latency, the state is the base's state chunk under one key of
// the state interface, and run() drives the same buffer path as the AAX
// render call, so both formats give the same samples.
//
// Port order: parameters 0 .. P-1, audio inputs, audio outputs, latency.
//
// The control ports are the truth: every run() applies every connected
// control port, so the audio follows what the host shows, saves and
// automates, whatever a state restore set in between. run() is hard
// real-time: it takes no lock (the plug-in mutex is off in this wrapper,
// since LV2's threading classes already keep the other calls apart from
// it), allocates nothing and makes no system call. save() may run beside
// it and reads the values run() last applied from a snapshot that run()
// publishes without waiting.
//
// Thread tags: [audio] the host's run() thread, [host] the host's
// instantiation thread (instantiate, activate, restore), [save] the state
// interface's save, which may run beside [audio], [any] any of them.

#include "IPlugBase.h"

#include <lv2/core/lv2.h>
#include <lv2/state/state.h>
#include <lv2/urid/urid.h>

#include <atomic>
#include <memory>

// Per-instance information a wrapper hands to the plug-in's constructor;
// LV2 passes its features to the wrapper after construction instead.
struct IPlugInstanceInfo
{
};

class IPlugLV2 : public IPlugBase
{
public:
  // Frames per piece of run() when the host announces no maximum, and the
  // most any announcement can make the scratch buffers hold: larger runs
  // are split into pieces of the block size, never refused.
  static constexpr int kDefaultBlockSize = 4096;
  static constexpr int kMaxBlockSize = 65536;

  IPlugLV2(IPlugInstanceInfo instanceInfo, int nParams, const char* channelIOStr, int nPresets,
           const char* effectName, const char* productName, const char* mfrName, int vendorVersion,
           int uniqueID, int mfrID, int latency, bool plugDoesMidi, bool plugDoesChunks,
           bool plugIsInst, int plugScChans);
  ~IPlugLV2() override;

  // ---- Ports ----

  int NPorts() const { return NParams() + NInChannels() + NOutChannels() + 1; }
  int AudioInPort(int ch) const { return NParams() + ch; }
  int AudioOutPort(int ch) const { return NParams() + NInChannels() + ch; }
  int LatencyPort() const { return NPorts() - 1; }
  // The port symbol of a parameter name: lower case, every character that is
  // not a letter, digit or '_' turned into '_', and '_' put in front of a
  // leading digit (a symbol may not start with one); "param" when empty.
  static void PortSymbol(const char* name, char* out, int outSize);

  // ---- The LV2 life cycle (the descriptor's functions call these) ----

  // [host] Reads urid:map and opts:options (bufsz:maxBlockLength) when
  // offered, sizes the buffers and resets the plug-in. False for a sample
  // rate that is not a positive number or when the buffers could not be made.
  bool Instantiate(double sampleRate, const LV2_Feature* const* features);
  // [host] Stores the host's buffer for a port; unknown ports are ignored.
  void ConnectPort(uint32_t port, void* data);
  // [host] Activate / deactivate (OnActivate).
  void Activate(bool active);
  // [audio] Applies every connected control port whose value (rounded for
  // integer ports, on above zero for toggles, clamped, NaN ignored) differs
  // from its parameter's, renders nFrames in pieces of at most the block
  // size (in single precision when the plug-in offers it) and writes the
  // latency port. No lock, no allocation, no system call. Should a host
  // break LV2's rules and restore beside it, that run outputs silence.
  void Run(uint32_t nFrames);

  // ---- State: the base's state chunk as one value ----

  // [save] Stores the state chunk (POD, portable): the parameter values
  // run() last applied (or instantiate or restore set), all of one
  // instant, read without making run() wait. LV2_STATE_ERR_NO_FEATURE
  // without urid:map. A plug-in with state chunks of its own serialises
  // through SerializeState, which must then be safe beside its audio.
  LV2_State_Status SaveState(LV2_State_Store_Function store, LV2_State_Handle handle);
  // [host] Restores a stored chunk. A value of another type, of an
  // implausible size, or whose content the plug-in does not take back
  // exactly (a short or long chunk, a value out of range or not finite) is
  // refused and leaves the plug-in as it was. The next run() applies the
  // control ports over what it set. Waits for a run() a misbehaving host
  // calls beside it to end.
  LV2_State_Status RestoreState(LV2_State_Retrieve_Function retrieve, LV2_State_Handle handle);
  // [host] The same on bytes in memory.
  LV2_State_Status RestoreStateBytes(const void* data, size_t size);

  // ---- Presets, for the bundle generator ----

  // True when preset idx holds a state.
  bool IsPresetInitialized(int idx) const;

  // ---- The base's host operations ----

  // LV2 has no path from a plug-in's audio side to the host's controls: the
  // host owns the control port values.
  void BeginInformHostOfParamChange(int) override {}
  void InformHostOfParamChange(int, double) override {}
  void EndInformHostOfParamChange(int) override {}
  void InformHostOfProgramChange() override {}
  // No transport is read: sample position 0, 120 beats per minute, 4/4.
  int GetSamplePos() override { return 0; }
  double GetTempo() override { return 120.0; }
  void GetTimeSig(int* pNum, int* pDenom) override;
  void GetTime(ITimeInfo* pTimeInfo) override;
  void ResizeGraphics(int, int) override {}
  bool SendMidiMsg(IMidiMsg*) override { return false; }

  // The descriptor every product's lv2_descriptor(0) returns, for its URI.
  static const LV2_Descriptor* Descriptor(const char* uri);

  // The state value's key: the plug-in URI with "#state".
  static const char* StateKeySuffix() { return "#state"; }

private:
  bool Trial(const unsigned char* data, size_t size);
  // [audio] Applies the control ports; true when a parameter changed.
  bool ApplyControlPorts();
  // [audio, host] Publishes every parameter's value for save(); the only
  // writer at a time is run() or (never beside it) instantiate or restore.
  void PublishValues();
  // [save] Every parameter's published value, all of one instant.
  void ReadPublishedValues(double* values) const;
  void RenderPieces(uint32_t nFrames);

  // Who is inside the plug-in's parameters now: nobody, run(), or restore.
  // run() only tries to enter (it never waits); restore waits its turn.
  enum EOwner : int
  {
    kOwnerNone = 0,
    kOwnerRun,
    kOwnerRestore
  };
  std::atomic<int> mOwner{kOwnerNone};
  // The values save() reads, guarded by a sequence count that is odd while
  // they are being written: a reader that saw it odd or changed reads again.
  std::unique_ptr<std::atomic<double>[]> mPublished;
  std::atomic<uint32_t> mPublishedSeq{0};
  // False once the plug-in said it has no single-precision path.
  bool mSingle = true;

  LV2_URID_Map* mMap = nullptr;
  LV2_URID mChunkType = 0; // atom:Chunk
  LV2_URID mStateKey = 0;

  // Host buffers by port; null until connected.
  WDL_TypedBuf<float*> mControlPorts;
  WDL_TypedBuf<float*> mInPorts;
  WDL_TypedBuf<float*> mOutPorts;
  float* mLatencyPort = nullptr;
  // Per-piece pointer arrays, and the silence and the sink that stand in
  // for audio ports a host left unconnected.
  WDL_TypedBuf<float*> mInPiece;
  WDL_TypedBuf<float*> mOutPiece;
  WDL_TypedBuf<float> mSilence;
  WDL_TypedBuf<float> mSink;
};

// The plug-in's factory, defined by the product: a new instance the caller owns.
IPlugLV2* MakePlug();
// The plug-in's URI, defined by the product.
const char* IPlugLV2_PluginURI();

// What hosts and package tools show of a plug-in beyond its ports: defined
// by the product (from its identity), written into the bundle's data.
struct IPlugLV2Metadata
{
  // A release version: both even, the minor one not zero (LV2 calls odd
  // ones and minor zero unstable).
  int minorVersion = 2;
  int microVersion = 0;
  const char* licenseURI = nullptr;      // doap:license
  const char* shortDescription = nullptr; // doap:shortdesc, one line
  const char* description = nullptr;     // rdfs:comment of the plug-in
  const char* maintainerEmail = nullptr; // foaf:mbox, without "mailto:"
  const char* maintainerHomepage = nullptr;
  // One rdfs:comment per parameter, in parameter order (null: none).
  const char* const* paramComments = nullptr;
  int nParamComments = 0;
};
const IPlugLV2Metadata& IPlugLV2_Metadata();
