#include "IPlugAAX.h"

#include "AAX_CBinaryDisplayDelegate.h"
#include "AAX_CBinaryTaperDelegate.h"
#include "AAX_CIPlugTaperDelegate.h"
#include "AAX_CLinearTaperDelegate.h"
#include "AAX_CNumberDisplayDelegate.h"
#include "AAX_CParameter.h"
#include "AAX_CStateTaperDelegate.h"
#include "AAX_CString.h"
#include "AAX_CStringDisplayDelegate.h"
#include "AAX_CUnitDisplayDelegateDecorator.h"
#include "AAX_Errors.h"
#include "AAX_Exports.h"
#include "AAX_IController.h"
#include "AAX_ITransport.h"
#include "AAX_IViewContainer.h"
#include "AAX_SPlugInChunk.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>

namespace
{
// Host positions are in ticks of 1/960000 of a quarter note.
constexpr double kTicksPerQuarter = 960000.0;
// Before the first render call there is no host transport to ask.
constexpr double kDefaultTempo = 120.0;

int32_t Truncate(double v) { return static_cast<int32_t>(v); }

// Host values reach the parameters inside 0..1; NaN counts as 0.
double ClampNormalized(double v)
{
  if (!(v > 0.0)) return 0.0;
  return v > 1.0 ? 1.0 : v;
}

AAX_IParameter* MakeHostParameter(const char* id, const IParam& p)
{
  const AAX_CString name(p.GetNameForHost());
  const bool automatable = p.GetCanAutomate();
  AAX_IParameter* param = nullptr;
  switch (p.Type())
  {
  case IParam::kTypeBool:
  case IParam::kTypeEnum:
  {
    std::map<int32_t, AAX_CString> texts;
    const int n = p.GetNDisplayTexts();
    for (int i = 0; i < n; ++i)
    {
      int value = 0;
      const char* text = p.GetDisplayTextAtIdx(i, &value);
      texts[value] = AAX_CString(text ? text : "");
    }
    param = new AAX_CParameter<int32_t>(
        id, name, Truncate(p.GetDefault()),
        AAX_CStateTaperDelegate<int32_t>(Truncate(p.GetMin()), Truncate(p.GetMax())),
        AAX_CStringDisplayDelegate<int32_t>(texts), automatable);
    param->SetNumberOfSteps(static_cast<uint32_t>(n));
    param->SetType(AAX_eParameterType_Discrete);
    break;
  }
  case IParam::kTypeInt:
    param = new AAX_CParameter<int32_t>(
        id, name, Truncate(p.GetDefault()),
        AAX_CLinearTaperDelegate<int32_t, 0>(Truncate(p.GetMin()), Truncate(p.GetMax())),
        AAX_CUnitDisplayDelegateDecorator<int32_t>(AAX_CNumberDisplayDelegate<int32_t, 2, 0>(),
                                                   AAX_CString(p.GetLabelForHost())),
        automatable);
    param->SetNumberOfSteps(128);
    param->SetType(AAX_eParameterType_Continuous);
    break;
  case IParam::kTypeDouble:
    param = new AAX_CParameter<double>(
        id, name, p.GetDefault(),
        AAX_CIPlugTaperDelegate<double>(p.GetMin(), p.GetMax(), p.GetShape()),
        AAX_CUnitDisplayDelegateDecorator<double>(AAX_CNumberDisplayDelegate<double, 2, 0>(),
                                                  AAX_CString(p.GetLabelForHost())),
        automatable);
    param->SetNumberOfSteps(128);
    param->SetType(AAX_eParameterType_Continuous);
    break;
  default: break; // no host parameter; the manager refuses the null and traces it
  }
  return param;
}
} // namespace

IPlugAAX::IPlugAAX(IPlugInstanceInfo /*instanceInfo*/, int nParams, const char* channelIOStr,
                   int nPresets, const char* effectName, const char* productName,
                   const char* mfrName, int vendorVersion, int uniqueID, int mfrID, int latency,
                   bool plugDoesMidi, bool plugDoesChunks, bool plugIsInst, int plugScChans)
    : IPlugBase(nParams, channelIOStr, nPresets, effectName, productName, mfrName, vendorVersion,
                uniqueID, mfrID, latency, plugDoesMidi, plugDoesChunks, plugIsInst, kAPIAAX),
      mNumSideChainChannels(plugScChans)
{
  SetInputChannelConnections(0, NInChannels(), true);
  SetOutputChannelConnections(0, NOutChannels(), true);
  if (NInChannels())
  {
    mDelay = new NChanDelayLine(NInChannels(), NOutChannels());
    mDelay->SetDelayTime(latency);
  }
  SetBlockSize(1024);
  SetHost("ProTools", vendorVersion);
}

IPlugAAX::~IPlugAAX() { mParamIDs.Empty(true); }

AAX_CEffectParameters* IPlugAAX::Create()
{
  IPlugAAX* plug = MakePlug();
  return plug ? static_cast<AAX_CIPlugParameters*>(plug) : nullptr;
}

const char* IPlugAAX::GetParamID(int paramIdx) const
{
  const WDL_String* id = mParamIDs.Get(paramIdx);
  return id ? id->Get() : nullptr;
}

AAX_Result IPlugAAX::EffectInit()
{
  auto* bypass = new AAX_CParameter<bool>(
      cDefaultMasterBypassID, AAX_CString("Master Bypass"), false, AAX_CBinaryTaperDelegate<bool>(),
      AAX_CBinaryDisplayDelegate<bool>("bypass", "on"), true);
  bypass->SetNumberOfSteps(2);
  bypass->SetType(AAX_eParameterType_Discrete);
  mBypassParameter = bypass;
  mParameterManager.AddParameter(bypass);

  // A second Initialize builds the parameters afresh; the identifiers follow.
  mParamIDs.Empty(true);
  for (int i = 0, n = NParams(); i < n; ++i)
  {
    auto* id = new WDL_String;
    char text[16];
    std::snprintf(text, sizeof text, "%d", i + 1);
    id->Set(text);
    mParamIDs.Add(id);
    mParameterManager.AddParameter(MakeHostParameter(id->Get(), *GetParam(i)));
  }

  float sampleRate = 0.0f;
  if (Controller() && Controller()->GetSampleRate(&sampleRate) == AAX_SUCCESS)
    SetSampleRate(static_cast<double>(sampleRate));
  Reset();
  return AAX_SUCCESS;
}

AAX_Result IPlugAAX::Uninitialize()
{
  {
    IMutexLock lock(this);
    mBypassParameter = nullptr;
  }
  return AAX_CIPlugParameters::Uninitialize();
}

// ---- Plug-in to host ----

void IPlugAAX::BeginInformHostOfParamChange(int paramIdx)
{
  if (const char* id = GetParamID(paramIdx)) TouchParameter(id);
}

void IPlugAAX::InformHostOfParamChange(int paramIdx, double normalizedValue)
{
  if (const char* id = GetParamID(paramIdx)) SetParameterNormalizedValue(id, normalizedValue);
}

void IPlugAAX::EndInformHostOfParamChange(int paramIdx)
{
  if (const char* id = GetParamID(paramIdx)) ReleaseParameter(id);
}

// ---- Host to plug-in ----

AAX_Result IPlugAAX::UpdateParameterNormalizedValue(AAX_CParamID iParameterID, double iValue,
                                                    AAX_EUpdateSource /*iSource*/)
{
  AAX_IParameter* param = iParameterID ? mParameterManager.GetParameterByID(iParameterID) : nullptr;
  if (!param) return AAX_ERROR_INVALID_PARAMETER_ID;
  const double value = ClampNormalized(iValue);
  {
    // The render call reads the master bypass from its host parameter under
    // the plug-in mutex, so the value is stored under it too.
    IMutexLock lock(this);
    param->UpdateNormalizedValue(value);

    // "MasterBypassID" and other non-numeric identifiers read as 0, giving -1.
    const int paramIdx = std::atoi(iParameterID) - 1;
    if (IParam* p = GetParam(paramIdx))
    {
      p->SetNormalized(value);
      if (IGraphics* gui = GetGUI()) gui->SetParameterFromPlug(paramIdx, value, true);
      OnParamChange(paramIdx);
    }
    // Host threads update at the same time (automation, a restore's echoes);
    // the change count is theirs to share under the mutex.
    ++mNumPlugInChanges;
  }
  return mPacketDispatcher.SetDirty(iParameterID, true);
}

// ---- Render ----

void IPlugAAX::RenderAudio(AAX_SIPlugRenderInfo* ioRenderInfo)
{
  IMutexLock lock(this);

  // The parameter is ours (EffectInit), so its own read is called directly.
  bool bypass = false;
  if (mBypassParameter) mBypassParameter->AAX_CParameter<bool>::GetValueAsBool(&bypass);

  // The channel counts come from the host's stem formats; a host that cannot
  // tell (or an instance not yet initialised) gets every channel connected.
  const int nInChannels = NInChannels(), nOutChannels = NOutChannels();
  int nIn = nInChannels, nOut = nOutChannels;
  if (const AAX_VController* controller = mController.get())
  {
    AAX_EStemFormat format = AAX_STEM_FORMAT(0, 0);
    if (controller->GetInputStemFormat(&format) == AAX_SUCCESS)
      nIn = static_cast<int>(static_cast<uint32_t>(format) & 0xFFFF);
    if (controller->GetOutputStemFormat(&format) == AAX_SUCCESS)
      nOut = static_cast<int>(static_cast<uint32_t>(format) & 0xFFFF);
  }

  if (DoesMIDI() && ioRenderInfo->mInputNode)
  {
    if (const AAX_CMidiStream* stream = ioRenderInfo->mInputNode->GetNodeBuffer())
    {
      const AAX_CMidiPacket* packet = stream->mBuffer;
      for (uint32_t i = 0; packet && i < stream->mBufferSize; ++i, ++packet)
      {
        IMidiMsg msg(static_cast<int>(packet->mTimestamp), packet->mData[0], packet->mData[1],
                     packet->mData[2]);
        ProcessMidiMsg(&msg);
      }
    }
  }

  if (ioRenderInfo->mTransportNode) mRenderTransport = ioRenderInfo->mTransportNode->GetTransport();

  const int32_t frames = ioRenderInfo->mNumSamples ? *ioRenderInfo->mNumSamples : -1;
  float* const* inputs = ioRenderInfo->mAudioInputs;
  float* const* outputs = ioRenderInfo->mAudioOutputs;
  if (frames < 0 || !inputs || !outputs) return;

  const bool sideChain =
      mNumSideChainChannels >= 1 && ioRenderInfo->mSideChain && *ioRenderInfo->mSideChain != 0;
  if (sideChain != mSideChainIsConnected)
  {
    // What a disconnected side-chain channel left in its scratch buffer must
    // not be heard once it is connected again, and vice versa.
    ZeroScratchBuffers();
    mSideChainIsConnected = sideChain;
  }

  const int connectedIn = sideChain ? nIn + 1 : nIn;
  // A host that hands over a null channel buffer among the connected ones
  // gets nothing rendered rather than a read or write through null.
  const int checkIn = std::min(connectedIn, nInChannels), checkOut = std::min(nOut, nOutChannels);
  bool missing = false;
  for (int i = 0; i < checkIn; ++i)
    missing |= !inputs[i];
  for (int i = 0; i < checkOut; ++i)
    missing |= !outputs[i];
  if (missing) return;
  ConnectAndAttachInputs(connectedIn, ioRenderInfo->mAudioInputs, frames);
  ConnectAndAttachOutputs(nOut, ioRenderInfo->mAudioOutputs);

  if (bypass)
    PassThroughBuffers(0.0f, frames);
  else
    ProcessBuffers(0.0f, frames);
}

// ---- State chunk ----

AAX_Result IPlugAAX::GetChunkIDFromIndex(int32_t iIndex, AAX_CTypeID* oChunkID) const
{
  if (iIndex != 0)
  {
    if (oChunkID) *oChunkID = 0;
    return AAX_ERROR_INVALID_CHUNK_INDEX;
  }
  if (oChunkID) *oChunkID = static_cast<AAX_CTypeID>(GetUniqueID());
  return AAX_SUCCESS;
}

AAX_Result IPlugAAX::GetChunkSize(AAX_CTypeID iChunkID, uint32_t* oSize) const
{
  if (iChunkID != static_cast<AAX_CTypeID>(GetUniqueID()))
  {
    if (oSize) *oSize = 0;
    return AAX_ERROR_INVALID_CHUNK_ID;
  }
  ByteChunk chunk;
  // Serialising locks the plug-in mutex and may run the plug-in's hooks,
  // which are not const.
  if (const_cast<IPlugAAX*>(this)->SerializeState(&chunk) && oSize)
    *oSize = static_cast<uint32_t>(chunk.Size());
  return AAX_SUCCESS;
}

AAX_Result IPlugAAX::GetChunk(AAX_CTypeID iChunkID, AAX_SPlugInChunk* oChunk) const
{
  if (iChunkID != static_cast<AAX_CTypeID>(GetUniqueID()) || !oChunk)
    return AAX_ERROR_INVALID_CHUNK_ID;
  ByteChunk chunk;
  if (!const_cast<IPlugAAX*>(this)->SerializeState(&chunk)) return AAX_ERROR_INVALID_CHUNK_ID;
  oChunk->fSize = chunk.Size();
  if (chunk.Size()) std::memcpy(oChunk->fData, chunk.GetBytes(), static_cast<size_t>(chunk.Size()));
  return AAX_SUCCESS;
}

AAX_Result IPlugAAX::SetChunk(AAX_CTypeID iChunkID, const AAX_SPlugInChunk* iChunk)
{
  if (iChunkID != static_cast<AAX_CTypeID>(GetUniqueID()) || !iChunk)
    return AAX_ERROR_INVALID_CHUNK_ID;
  ByteChunk chunk;
  chunk.PutBytes(iChunk->fData, iChunk->fSize); // a negative size is an empty chunk
  UnserializeState(&chunk, 0);
  {
    // The restored values are read under the plug-in mutex: the editor and
    // the host may be changing them at the same time.
    IMutexLock lock(this);
    for (int i = 0, n = NParams(); i < n; ++i)
      if (const char* id = GetParamID(i))
        SetParameterNormalizedValue(id, GetParam(i)->GetNormalized());
    RedrawParamControls();
    ++mNumPlugInChanges;
  }
  return AAX_SUCCESS;
}

AAX_Result IPlugAAX::CompareActiveChunk(const AAX_SPlugInChunk* iChunk,
                                        AAX_CBoolean* oIsEqual) const
{
  if (!oIsEqual) return AAX_SUCCESS;
  if (!iChunk || iChunk->fChunkID != static_cast<AAX_CTypeID>(GetUniqueID()))
  {
    *oIsEqual = 1;
    return AAX_SUCCESS;
  }
  // CompareState reads as many bytes as the live state has; a shorter record
  // (from a damaged or foreign session) cannot match and must not be overread.
  ByteChunk live;
  auto* self = const_cast<IPlugAAX*>(this);
  if (!self->SerializeState(&live) || iChunk->fSize < live.Size())
  {
    *oIsEqual = 0;
    return AAX_SUCCESS;
  }
  *oIsEqual = self->CompareState(reinterpret_cast<const unsigned char*>(iChunk->fData), 0) ? 1 : 0;
  return AAX_SUCCESS;
}

// ---- Time, latency, editor size ----

int IPlugAAX::GetSamplePos()
{
  int64_t location = 0;
  if (mRenderTransport) mRenderTransport->GetCurrentNativeSampleLocation(&location);
  return static_cast<int>(static_cast<uint32_t>(static_cast<uint64_t>(location) & 0xFFFFFFFFu));
}

double IPlugAAX::GetTempo()
{
  double tempo = kDefaultTempo;
  if (mRenderTransport) mRenderTransport->GetCurrentTempo(&tempo);
  return tempo;
}

void IPlugAAX::GetTimeSig(int* pNum, int* pDenom)
{
  int32_t num = 4, denom = 4;
  if (mRenderTransport) mRenderTransport->GetCurrentMeter(&num, &denom);
  if (pNum) *pNum = num;
  if (pDenom) *pDenom = denom;
}

void IPlugAAX::GetTime(ITimeInfo* pTimeInfo)
{
  if (!pTimeInfo) return;
  double tempo = kDefaultTempo;
  bool playing = false, looping = false;
  int32_t num = 4, denom = 4;
  int64_t ticks = 0, location = 0, loopStart = 0, loopEnd = 0;
  if (AAX_ITransport* t = mRenderTransport)
  {
    t->GetCurrentTempo(&tempo);
    t->IsTransportPlaying(&playing);
    t->GetCurrentMeter(&num, &denom);
    t->GetCurrentTickPosition(&ticks);
    t->GetCurrentNativeSampleLocation(&location);
    t->GetCurrentLoopPosition(&looping, &loopStart, &loopEnd);
  }
  pTimeInfo->mTempo = tempo;
  pTimeInfo->mTransportIsRunning = playing;
  pTimeInfo->mNumerator = num;
  pTimeInfo->mDenominator = denom;
  pTimeInfo->mPPQPos = static_cast<double>(ticks) / kTicksPerQuarter;
  pTimeInfo->mSamplePos = static_cast<double>(location);
  pTimeInfo->mTransportLoopEnabled = looping;
  pTimeInfo->mCycleStart = static_cast<double>(loopStart) / kTicksPerQuarter;
  pTimeInfo->mCycleEnd = static_cast<double>(loopEnd) / kTicksPerQuarter;
}

void IPlugAAX::SetLatency(int samples)
{
  if (AAX_IController* controller = Controller()) controller->SetSignalLatency(samples);
  IPlugBase::SetLatency(samples);
}

void IPlugAAX::ResizeGraphics(int w, int h)
{
  IGraphics* gui = GetGUI();
  if (!gui) return;
  if (AAX_IViewContainer* container = gui->GetViewContainer())
  {
    AAX_Point size{static_cast<float>(h), static_cast<float>(w)};
    container->SetViewSize(size);
  }
  OnWindowResize();
}

void IPlugAAX::DirtyPTCompareState()
{
  IMutexLock lock(this);
  ++mNumPlugInChanges;
}
