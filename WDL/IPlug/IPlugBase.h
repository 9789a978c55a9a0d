#pragma once
// IPlugBase: the host-independent core of every plug-in instance: identity,
// parameters, presets, channel configuration, the buffers through which a
// wrapper hands audio to the plug-in, timing and latency, the plug-in mutex
// and the link to the editor. API wrappers (IPlugAAX) derive from it and
// supply the operations that talk to a host; plug-ins override the hooks.
//
// Thread tags: [audio] the host's render thread, [host] the host's other
// threads, [gui] the editor thread, [any] any of them.

#include "Hosts.h"
#include "IGraphics.h"
#include "IParam.h"
#include "IPlugStructs.h"
#include "IScratchBlock.h"
#include "NChanDelay.h"
#include "heapbuf.h"
#include "mutex.h"
#include "ptrlist.h"
#include "wdlstring.h"

enum EAPI : int
{
  kAPIVST2 = 0,
  kAPIVST3 = 1,
  kAPIAU = 2,
  kAPIRTAS = 3,
  kAPIAAX = 4,
  kAPISA = 5,
  kAPILV2 = 6
};

// The first preset in list order that holds no state, or null.
IPreset* GetNextUninitializedPreset(WDL_PtrList<IPreset>* pPresets);
// Writes "user preset N" where N is one more than the number of presets whose
// name contains "user preset" (pName holds IPreset::kMaxPresetNameLen bytes).
void MakeDefaultUserPresetName(WDL_PtrList<IPreset>* pPresets, char* pName);

// Packed versions: major in bits 16-31, minor in 8-15, revision in 0-7.
void GetVersionParts(int version, int* pMajor, int* pMinor, int* pRevision);
int GetDecimalVersion(int version); // major * 10000 + minor * 100 + revision
void GetVersionStr(int version, char* rStr); // "v%d.%d.%d"

class IPlugBase
{
public:
  // Fixed-size, NUL-terminated name buffers.
  static constexpr int kMaxEffectNameLen = 128;

  struct ChannelIO
  {
    int mIn, mOut;
    ChannelIO(int nIn, int nOut) : mIn(nIn), mOut(nOut) {}
  };

  struct InChannel
  {
    bool mConnected = false;
    double** mSrc = nullptr;    // this channel's element of the input-data array
    double* mScratch = nullptr; // block-size doubles in the base's scratch block
    WDL_String mLabel;
  };

  struct OutChannel
  {
    bool mConnected = false;
    double** mDest = nullptr; // this channel's element of the output-data array
    float* mFDest = nullptr;  // host float buffer (float paths)
    double* mScratch = nullptr; // block-size doubles in the base's scratch block
    WDL_String mLabel;
  };

  // Locks a plug-in's mutex for its own lifetime; nothing at all for a
  // plug-in whose wrapper made it mutex-free (SetMutexFree).
  class IMutexLock
  {
  public:
    explicit IMutexLock(IPlugBase* pPlug)
        : mLock(pPlug->mMutexFree ? nullptr : &pPlug->mMutex)
    {
    }

  private:
    WDL_MutexLock mLock;
  };

  // Parses channelIOStr ("2-2", "1-1 2-2", ...): an invalid token is a
  // programming error (assertion "channelIOStrValid").
  IPlugBase(int nParams, const char* channelIOStr, int nPresets, const char* effectName,
            const char* productName, const char* mfrName, int vendorVersion, int uniqueID,
            int mfrID, int latency, bool plugDoesMidi, bool plugDoesChunks, bool plugIsInst,
            EAPI plugAPI);

  // [host] Deletes the editor first, then everything else the base owns.
  virtual ~IPlugBase();

  IPlugBase(const IPlugBase&) = delete;
  IPlugBase& operator=(const IPlugBase&) = delete;

  // ---- Hooks a plug-in may override (defaults as noted) ----

  // [host] Sample rate or block size changed. Default: lock and unlock.
  virtual void Reset();
  // [any, under the plug-in mutex] Parameter paramIdx has a new value.
  // Default: lock and unlock.
  virtual void OnParamChange(int paramIdx);
  // [audio, under the plug-in mutex] Renders nFrames; inputs and outputs have
  // one buffer per channel and may alias. Default: copy input ch to output ch,
  // zero the remaining outputs.
  virtual void ProcessDoubleReplacing(double** inputs, double** outputs, int nFrames);
  // [audio] The same render in single precision, for wrappers whose host
  // hands over float buffers: exactly the samples ProcessDoubleReplacing
  // gives for the same float input (which the double path widens and
  // narrows again), in one pass; inputs and outputs may alias. Default:
  // false, nothing written, and the wrapper renders through the double path.
  virtual bool ProcessSingleReplacing(float** /*inputs*/, float** /*outputs*/, int /*nFrames*/)
  {
    return false;
  }
  // [gui] The editor window opened / closed.
  virtual void OnGUIOpen() {}
  virtual void OnGUIClose() {}
  // [gui] Idle time.
  virtual void OnIdle() {}
  // [host] Activated or deactivated. Default: lock and unlock.
  virtual void OnActivate(bool active);
  // [audio] One incoming MIDI message. Default: sent on (MIDI through).
  virtual void ProcessMidiMsg(IMidiMsg* pMsg);
  // [audio] One incoming system-exclusive message. Default: ignored.
  virtual void ProcessSysEx(ISysEx* /*pSysEx*/) {}
  // [any] Writes a note's name into rName; false when the plug-in has none.
  virtual bool MidiNoteName(int noteNumber, char* rName);
  // [host] Appends the state to pChunk; true when everything was appended.
  virtual bool SerializeState(ByteChunk* pChunk);
  // [host] Restores the state from startPos; the position after it, or -1.
  virtual int UnserializeState(ByteChunk* pChunk, int startPos);
  // [host, takes the plug-in mutex] True when the stored state (doubles from
  // startPos, counted in doubles) matches the live parameters.
  virtual bool CompareState(const unsigned char* incomingState, int startPos);
  // [gui] The editor was resized.
  virtual void OnWindowResize() {}
  // [gui] The host asks for an about box; true when the plug-in showed one.
  virtual bool HostRequestingAboutBox() { return false; }
  // [host] SetHost identified the host.
  virtual void OnHostIdentified() {}
  // [gui] The host may show its context menu for a parameter.
  virtual void PopupHostContextMenuForParam(int /*paramIdx*/, int /*x*/, int /*y*/) {}
  // [gui] The editor changed a parameter: lock, set the normalised value,
  // tell the host the value exactly as passed, OnParamChange, unlock.
  virtual void SetParameterFromGUI(int paramIdx, double normalizedValue);

  // ---- Supplied by each API wrapper ----

  // [gui] A gesture on paramIdx begins (touch) / ends (release).
  virtual void BeginInformHostOfParamChange(int paramIdx) = 0;
  // [any, under the plug-in mutex] Send a normalised value to the host.
  virtual void InformHostOfParamChange(int paramIdx, double normalizedValue) = 0;
  virtual void EndInformHostOfParamChange(int paramIdx) = 0;
  // [any] The current preset changed.
  virtual void InformHostOfProgramChange() = 0;
  // [audio] True while the host renders offline. Default false.
  virtual bool IsRenderingOffline() { return false; }
  // [audio] Host time: sample position, tempo (beats per minute), time
  // signature and the whole time-information record.
  virtual int GetSamplePos() = 0;
  virtual double GetTempo() = 0;
  virtual void GetTimeSig(int* pNum, int* pDenom) = 0;
  virtual void GetTime(ITimeInfo* pTimeInfo) = 0;
  // [any] The identified host (kHostUninit before SetHost) and the API.
  virtual EHost GetHost() { return mHost; }
  virtual EAPI GetAPI() { return mAPI; }
  // [gui] Ask the host to resize the editor.
  virtual void ResizeGraphics(int w, int h) = 0;
  // [host] Wrapper-specific set-up after construction. Default nothing.
  virtual void HostSpecificInit() {}
  // [host] Takes ownership of pGraphics (null does nothing): pushes every
  // parameter's normalised value into it and prepares it, under the mutex.
  virtual void AttachGraphics(IGraphics* pGraphics);
  // [host] Stores the latency and sets the delay line's delay to match.
  virtual void SetLatency(int samples);
  // [audio] MIDI output; true when sent.
  virtual bool SendMidiMsg(IMidiMsg* pMsg) = 0;
  // [audio] System-exclusive output; the base sends nothing (false).
  virtual bool SendSysEx(ISysEx* /*pSysEx*/) { return false; }
  // [any] Pushes every parameter's real value into the editor (no lock).
  virtual void RedrawParamControls();
  // [any] The state the host compares against changed. Default nothing.
  virtual void DirtyPTCompareState() {}
  // [host] A preset was restored by the host. Default nothing.
  virtual void PresetsChangedByHost() {}
  // [host] Resizes and clears every channel's scratch buffer when blockSize
  // differs from the current one (may allocate; never on the audio thread).
  // The buffers share one block (IScratchBlock): inputs first, then outputs,
  // each on its own cache line and at its own offset within a 4 KiB page.
  virtual void SetBlockSize(int blockSize);

  // ---- Parameters ----

  // [any] The parameter, or null when idx is out of range.
  IParam* GetParam(int idx) { return mParams.Get(idx); }
  int NParams() const { return mParams.GetSize(); }
  // [any, under the plug-in mutex] OnParamChange for every index in order.
  void OnParamReset();
  // [any] Sends every parameter's normalised value to the host, under the mutex.
  void DirtyParameters();

  // ---- Channels ----

  int NInChannels() const { return mInChannels.GetSize(); }
  int NOutChannels() const { return mOutChannels.GetSize(); }
  bool IsInChannelConnected(int chIdx) const;
  bool IsOutChannelConnected(int chIdx) const;
  // [audio, under the plug-in mutex] Marks channels [idx, idx + n) (those that
  // exist) connected or not; a disconnected channel's data slot points at its
  // own scratch buffer, so the plug-in reads silence and writes harmlessly.
  void SetInputChannelConnections(int idx, int n, bool connected);
  void SetOutputChannelConnections(int idx, int n, bool connected);
  // True when some legal pair matches; a negative count matches any.
  bool LegalIO(int nIn, int nOut) const;
  int NChannelIO() const { return mChannelIO.GetSize(); }
  // The idx-th legal pair, or false when idx is out of range.
  bool GetChannelIO(int idx, int* pNIn, int* pNOut) const;
  void SetInputLabel(int idx, const char* pLabel);
  void SetOutputLabel(int idx, const char* pLabel);
  const char* GetInputLabel(int idx) const;
  const char* GetOutputLabel(int idx) const;
  // Input bus labels accept index 0 or 1, output bus labels any index >= 0;
  // the label at that index is replaced (appended when past the end).
  void SetInputBusLabel(int idx, const char* pLabel);
  void SetOutputBusLabel(int idx, const char* pLabel);
  const char* GetInputBusLabel(int idx) const;
  const char* GetOutputBusLabel(int idx) const;
  // Disconnects inputs from the third on; marks outputs from the third on
  // connected (the historical behaviour; nothing here calls it).
  void LimitToStereoIO();

  // ---- Buffers (the wrapper's render path) ----
  // Every frame count is cut to the block size: scratch buffers, which
  // disconnected channels and the float paths use, hold that many frames.

  // [audio] Double form: each connected channel in [idx, idx + n) takes the
  // next pointer of ppData (pointers for connected channels only, in order).
  void AttachInputBuffers(int idx, int n, double** ppData, int nFrames);
  // [audio] Float form: each connected channel converts the next host buffer
  // into its scratch buffer and reads from there.
  void AttachInputBuffers(int idx, int n, float** ppData, int nFrames);
  void AttachOutputBuffers(int idx, int n, double** ppData);
  // [audio] Float form: connected channels render into their scratch buffers
  // and remember the host buffer for the conversion after processing.
  void AttachOutputBuffers(int idx, int n, float** ppData);
  // [audio, under the plug-in mutex] The float render call's channel set-up
  // in one pass: channels [0, nConnected) (those that exist) connected, each
  // converting ppData[i] into its scratch buffer; the rest disconnected. The
  // same as SetInputChannelConnections for both ranges and then the float
  // AttachInputBuffers over every channel.
  void ConnectAndAttachInputs(int nConnected, float** ppData, int nFrames);
  // [audio, under the plug-in mutex] The same for the outputs: connected
  // channels render into their scratch buffers for ppData[i].
  void ConnectAndAttachOutputs(int nConnected, float** ppData);
  // [audio, under the plug-in mutex] Runs ProcessDoubleReplacing; the float
  // form then converts every connected output to its host buffer.
  void ProcessBuffers(double sampleType, int nFrames);
  void ProcessBuffers(float sampleType, int nFrames);
  // [audio, under the plug-in mutex] As ProcessBuffers(float) but adds the
  // output to what the host buffer holds, in single precision.
  void ProcessBuffersAccumulating(float sampleType, int nFrames);
  // [audio, under the plug-in mutex] Bypass: inputs to outputs, delayed by
  // the latency when there is a delay line, else the base's copy-and-zero.
  void PassThroughBuffers(double sampleType, int nFrames);
  void PassThroughBuffers(float sampleType, int nFrames);
  // [audio] Zeroes the first block-size samples of every scratch buffer.
  void ZeroScratchBuffers();

  // ---- Timing ----

  double GetSampleRate() const { return mSampleRate; }
  void SetSampleRate(double sampleRate) { mSampleRate = sampleRate; }
  int GetBlockSize() const { return mBlockSize; }
  int GetLatency() const { return mLatency; }
  // sample rate * 60 / tempo, or 0.0 when the tempo is not above 0.
  double GetSamplesPerBeat();

  // ---- Host and identity ----

  // [host] Identifies the host from its name and stores its packed version.
  void SetHost(const char* host, int version);
  int GetHostVersion(bool decimal);
  void GetHostVersionStr(char* rStr);
  const char* GetEffectName() const { return mEffectName; }
  const char* GetProductName() const { return mProductName; }
  const char* GetMfrName() const { return mMfrName; }
  int GetUniqueID() const { return mUniqueID; }
  int GetMfrID() const { return mMfrID; }
  int GetEffectVersion(bool decimal) const;
  void GetEffectVersionStr(char* rStr) const; // "v%d.%d.%d" then "D"
  const char* GetAPIString() const;
  const char* GetArchString() const { return "x64"; }
  bool DoesStateChunks() const { return mStateChunks; }
  bool DoesMIDI() const { return mDoesMIDI; }
  bool IsInstrument() const { return mIsInst; }
  IGraphics* GetGUI() { return mGraphics; }

  // ---- MIDI ----

  // SendMidiMsg for each message in order; true only when every call was.
  bool SendMidiMsgs(WDL_TypedBuf<IMidiMsg>* pMsgs);

  // ---- Presets ----
  // The preset list is not locked: presets are made while the plug-in is
  // constructed and changed from one host thread at a time. State captures
  // and restores lock the plug-in mutex through the state operations.

  int NPresets() const { return mPresets.GetSize(); }
  int GetCurrentPresetIdx() const { return mCurrentPresetIdx; }

  // [host] Fills up to nPresets uninitialised presets with the current state
  // (name "Empty" when pName is null).
  void MakeDefaultPreset(const char* pName = nullptr, int nPresets = 1);
  // [host] Fills the next uninitialised preset from one value per parameter:
  // an int for bool, int and enum parameters, a double for the others. The
  // values are stored as given, not clamped. False when no preset was free.
  bool MakePreset(const char* pName, ...);
  // [host] As MakePreset from nParamsNamed (index, value) pairs; parameters
  // not named keep their current value.
  bool MakePresetFromNamedParams(const char* pName, int nParamsNamed, ...);
  // [host] Fills the next uninitialised preset with a copy of pChunk.
  bool MakePresetFromChunk(const char* pName, ByteChunk* pChunk);
  // [host] Decodes Base64 into a chunk of exactly sizeOfChunk bytes (the tail
  // stays zero), then MakePresetFromChunk.
  bool MakePresetFromBlob(const char* pName, const char* pBlob, int sizeOfChunk);
  // [host] MakeDefaultPreset("Empty", NPresets()).
  void EnsureDefaultPreset();
  // [host] Deletes every uninitialised preset from the list.
  void PruneUninitializedPresets();
  // [host] Loads preset idx (capturing the current state into it when it is
  // uninitialised) and makes it current. False for a bad index or a failure.
  bool RestorePreset(int idx);
  // [host] RestorePreset of the first preset named exactly pName.
  bool RestorePreset(const char* pName);
  // The preset's name, or "" when idx is out of range.
  const char* GetPresetName(int idx);
  // [host] Re-captures the current state into the current preset and renames
  // it when pName is non-empty.
  void ModifyCurrentPreset(const char* pName = nullptr);
  // [host] Appends every preset: name, initialised flag, and its state when
  // initialised. False when an append failed.
  bool SerializePresets(ByteChunk* pChunk);
  // [host] Restores the bank written by SerializePresets, then the current
  // preset. Returns the position after the bank, or -1 when the data ran out
  // (the preset being read then keeps what it had; earlier ones stay loaded).
  int UnserializePresets(ByteChunk* pChunk, int startPos);

  // ---- Preset files and developer dumps ----

  // Clears pChunk and writes the framework version header ("tffp", version).
  static void InitChunkWithIPlugVer(ByteChunk* pChunk);
  // The framework version after a header at *pPos (advancing past it), or 0
  // with *pPos unchanged when there is no header there.
  static int GetIPlugVerFromChunk(ByteChunk* pChunk, int* pPos);

  // [host] Write the current preset / the whole bank as a program / bank
  // file. False for an empty name or a file that cannot be created.
  bool SaveProgramAsFXP(const char* defaultFileName);
  bool SaveBankAsFXB(const char* defaultFileName);
  // [host] Read a program / bank file. False for a missing, short or
  // malformed file, or one made for another plug-in; a rejected file leaves
  // the parameters and presets as they were.
  bool LoadProgramFromFXP(const char* defaultFileName);
  bool LoadBankFromFXB(const char* defaultFileName);
  // [host] The same on a file's bytes already in memory.
  bool LoadProgramFromFXPData(const ByteChunk* pFile);
  bool LoadBankFromFXBData(const ByteChunk* pFile);
  // Build the bytes SaveProgramAsFXP / SaveBankAsFXB write.
  bool MakeProgramFXPData(ByteChunk* pOut);
  bool MakeBankFXBData(ByteChunk* pOut);

  // [host] Developer aids: the current values as a MakePresetFromNamedParams
  // call (paramEnumNames gives one identifier per parameter), or presets as
  // MakePresetFromBlob calls. Nothing is written when the file cannot be
  // opened.
  void DumpPresetSrcCode(const char* filename, const char* paramEnumNames[]);
  void DumpPresetBlob(const char* filename);
  void DumpBankBlob(const char* filename);

  // ---- Parameter state ----

  // [any] Appends each parameter's real value as a double, under the mutex.
  bool SerializeParams(ByteChunk* pChunk);
  // [any] Restores values from startPos under the mutex, then OnParamReset.
  // A value that cannot be read sets that parameter to 0.0 (clamped) and
  // ends the loop; returns the position after the last value, or -1.
  int UnserializeParams(ByteChunk* pChunk, int startPos);

protected:
  // [host, from a wrapper's constructor] For a wrapper whose host already
  // keeps calls apart by its threading rules and whose audio call may take
  // no lock at all: the plug-in mutex is never taken from then on, and the
  // wrapper keeps what the mutex kept (consistent state beside the audio).
  void SetMutexFree() { mMutexFree = true; }

  // Trace hook at fixed points; it does nothing in this build.
  void Trace(const char* /*fmt*/, ...) {}

  WDL_PtrList<ChannelIO> mChannelIO;
  WDL_Mutex mMutex;
  bool mMutexFree = false;
  char mEffectName[kMaxEffectNameLen];
  char mProductName[kMaxEffectNameLen];
  char mMfrName[kMaxEffectNameLen];
  int mUniqueID;
  int mMfrID;
  int mVersion;
  EAPI mAPI;
  EHost mHost = kHostUninit;
  int mHostVersion = 0;
  bool mStateChunks;
  bool mIsInst;
  bool mDoesMIDI;
  int mCurrentPresetIdx = 0;
  double mSampleRate = 44100.0;
  int mBlockSize = 0;
  int mLatency;
  NChanDelayLine* mDelay = nullptr;
  IGraphics* mGraphics = nullptr;
  WDL_PtrList<IParam> mParams;
  WDL_PtrList<IPreset> mPresets;
  WDL_TypedBuf<double*> mInData;
  WDL_TypedBuf<double*> mOutData;
  WDL_PtrList<InChannel> mInChannels;
  WDL_PtrList<OutChannel> mOutChannels;
  IScratchBlock mScratch; // every channel's scratch buffer
  WDL_PtrList<WDL_String> mInputBusLabels;
  WDL_PtrList<WDL_String> mOutputBusLabels;

private:
  // Framework version written in front of the state in preset files.
  static constexpr int kIPlugVersion = 0x00010000;

  int ClampFrames(int nFrames) const
  {
    return nFrames < 0 ? 0 : (nFrames > mBlockSize ? mBlockSize : nFrames);
  }
  void ConvertOutputsToFloat(int nFrames, bool accumulate);
};
