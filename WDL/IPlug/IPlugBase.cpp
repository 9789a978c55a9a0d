#include "IPlugBase.h"

#include "SampleFormat.h"

#include <cassert>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace
{
void CopyEffectName(char (&dst)[IPlugBase::kMaxEffectNameLen], const char* src)
{
  std::snprintf(dst, sizeof(dst), "%s", src ? src : "");
}

template <class Channel>
void SetConnections(WDL_PtrList<Channel>& channels, int idx, int n, bool connected,
                    double** Channel::*slot)
{
  const int end = (idx + n < channels.GetSize()) ? idx + n : channels.GetSize();
  for (int i = idx < 0 ? 0 : idx; i < end; ++i)
  {
    Channel* ch = channels.Get(i);
    ch->mConnected = connected;
    if (!connected) *(ch->*slot) = ch->mScratchBuf.Get();
  }
}
} // namespace

void GetVersionParts(int version, int* pMajor, int* pMinor, int* pRevision)
{
  *pMajor = static_cast<int>((static_cast<unsigned int>(version) & 0xFFFF0000u) >> 16);
  *pMinor = (version & 0x0000FF00) >> 8;
  *pRevision = version & 0x000000FF;
}

int GetDecimalVersion(int version)
{
  int major, minor, revision;
  GetVersionParts(version, &major, &minor, &revision);
  return 10000 * major + 100 * minor + revision;
}

void GetVersionStr(int version, char* rStr)
{
  int major, minor, revision;
  GetVersionParts(version, &major, &minor, &revision);
  std::sprintf(rStr, "v%d.%d.%d", major, minor, revision);
}

IPlugBase::IPlugBase(int nParams, const char* channelIOStr, int nPresets, const char* effectName,
                     const char* productName, const char* mfrName, int vendorVersion,
                     int uniqueID, int mfrID, int latency, bool plugDoesMidi,
                     bool plugDoesChunks, bool plugIsInst, EAPI plugAPI)
    : mUniqueID(uniqueID), mMfrID(mfrID), mVersion(vendorVersion), mAPI(plugAPI),
      mStateChunks(plugDoesChunks), mIsInst(plugIsInst), mDoesMIDI(plugDoesMidi),
      mLatency(latency)
{
  for (int i = 0; i < nParams; ++i) mParams.Add(new IParam);
  for (int i = 0; i < nPresets; ++i) mPresets.Add(new IPreset(i));

  CopyEffectName(mEffectName, effectName);
  CopyEffectName(mProductName, productName);
  CopyEffectName(mMfrName, mfrName);

  // Tokens "in-out" separated by single spaces.
  int nInputs = 0, nOutputs = 0;
  for (const char* ioStr = channelIOStr; ioStr;)
  {
    int nIn = 0, nOut = 0;
    const bool channelIOStrValid = std::sscanf(ioStr, "%d-%d", &nIn, &nOut) == 2;
    assert(channelIOStrValid);
    if (!channelIOStrValid) break;
    mChannelIO.Add(new ChannelIO(nIn, nOut));
    if (nIn > nInputs) nInputs = nIn;
    if (nOut > nOutputs) nOutputs = nOut;
    ioStr = std::strchr(ioStr, ' ');
    if (ioStr) ++ioStr;
  }

  mInData.Resize(nInputs);
  mOutData.Resize(nOutputs);
  double** inData = mInData.Get();
  double** outData = mOutData.Get();
  for (int i = 0; i < nInputs; ++i)
  {
    InChannel* ch = new InChannel;
    ch->mSrc = inData + i;
    mInChannels.Add(ch);
  }
  for (int i = 0; i < nOutputs; ++i)
  {
    OutChannel* ch = new OutChannel;
    ch->mDest = outData + i;
    mOutChannels.Add(ch);
  }
}

IPlugBase::~IPlugBase()
{
  delete mGraphics;
  mGraphics = nullptr;
  mParams.Empty(true);
  mPresets.Empty(true);
  mInChannels.Empty(true);
  mOutChannels.Empty(true);
  mChannelIO.Empty(true);
  mInputBusLabels.Empty(true);
  mOutputBusLabels.Empty(true);
  delete mDelay;
}

// ---- Hooks ----

void IPlugBase::Reset() { IMutexLock lock(this); }

void IPlugBase::OnParamChange(int /*paramIdx*/) { IMutexLock lock(this); }

void IPlugBase::OnActivate(bool /*active*/) { IMutexLock lock(this); }

void IPlugBase::ProcessDoubleReplacing(double** inputs, double** outputs, int nFrames)
{
  const int nIn = NInChannels(), nOut = NOutChannels();
  int ch = 0;
  for (; ch < nIn && ch < nOut; ++ch)
  {
    // Inputs and outputs may be the same buffers; memmove copes.
    if (inputs[ch] != outputs[ch])
      std::memmove(outputs[ch], inputs[ch], static_cast<size_t>(nFrames) * sizeof(double));
  }
  for (; ch < nOut; ++ch)
    for (int s = 0; s < nFrames; ++s) outputs[ch][s] = 0.0;
}

void IPlugBase::ProcessMidiMsg(IMidiMsg* pMsg) { SendMidiMsg(pMsg); }

bool IPlugBase::MidiNoteName(int /*noteNumber*/, char* rName)
{
  *rName = '\0';
  return false;
}

bool IPlugBase::SerializeState(ByteChunk* pChunk) { return SerializeParams(pChunk); }

int IPlugBase::UnserializeState(ByteChunk* pChunk, int startPos)
{
  return UnserializeParams(pChunk, startPos);
}

bool IPlugBase::CompareState(const unsigned char* incomingState, int startPos)
{
  // Compared in single precision with a tolerance, so a chunk that went
  // through a float round trip still counts as the same state. The live
  // values are read under the plug-in mutex, as serialising reads them: the
  // editor and the host change them from their own threads.
  IMutexLock lock(this);
  const int n = NParams();
  for (int i = 0; i < n; ++i)
  {
    double stored;
    std::memcpy(&stored, incomingState + (static_cast<size_t>(startPos) + i) * sizeof(double),
                sizeof(double));
    const float live = static_cast<float>(GetParam(i)->Value());
    const float diff = std::fabs(live - static_cast<float>(stored));
    if (!(diff < 0.00001f)) return false;
  }
  return true;
}

void IPlugBase::SetParameterFromGUI(int idx, double normalizedValue)
{
  IParam* param = GetParam(idx);
  if (!param) return;
  IMutexLock lock(this);
  param->SetNormalized(normalizedValue);
  InformHostOfParamChange(idx, normalizedValue);
  OnParamChange(idx);
}

void IPlugBase::AttachGraphics(IGraphics* pGraphics)
{
  if (!pGraphics) return;
  IMutexLock lock(this);
  for (int i = 0, n = NParams(); i < n; ++i)
    pGraphics->SetParameterFromPlug(i, GetParam(i)->GetNormalized(), true);
  pGraphics->PrepDraw();
  if (mGraphics && mGraphics != pGraphics) delete mGraphics; // never leak a previous editor
  mGraphics = pGraphics;
}

void IPlugBase::SetLatency(int samples)
{
  mLatency = samples;
  if (mDelay) mDelay->SetDelayTime(samples);
}

void IPlugBase::RedrawParamControls()
{
  if (!mGraphics) return;
  for (int i = 0, n = NParams(); i < n; ++i)
    mGraphics->SetParameterFromPlug(i, GetParam(i)->Value(), false);
}

void IPlugBase::SetBlockSize(int blockSize)
{
  if (blockSize == mBlockSize) return;
  // Slots that pointed at a channel's scratch buffer must follow it when it
  // moves, or a disconnected channel would point at freed memory.
  for (int i = 0, n = NInChannels(); i < n; ++i)
  {
    InChannel* ch = mInChannels.Get(i);
    const double* old = ch->mScratchBuf.Get();
    double* buf = ch->mScratchBuf.Resize(blockSize);
    for (int s = 0; s < ch->mScratchBuf.GetSize(); ++s) buf[s] = 0.0;
    if (*ch->mSrc == old || !ch->mConnected) *ch->mSrc = buf;
  }
  for (int i = 0, n = NOutChannels(); i < n; ++i)
  {
    OutChannel* ch = mOutChannels.Get(i);
    const double* old = ch->mScratchBuf.Get();
    double* buf = ch->mScratchBuf.Resize(blockSize);
    for (int s = 0; s < ch->mScratchBuf.GetSize(); ++s) buf[s] = 0.0;
    if (*ch->mDest == old || !ch->mConnected) *ch->mDest = buf;
  }
  mBlockSize = blockSize > 0 ? blockSize : 0;
}

// ---- Parameters ----

void IPlugBase::OnParamReset()
{
  for (int i = 0, n = NParams(); i < n; ++i) OnParamChange(i);
}

void IPlugBase::DirtyParameters()
{
  IMutexLock lock(this);
  for (int i = 0, n = NParams(); i < n; ++i)
    InformHostOfParamChange(i, GetParam(i)->GetNormalized());
}

// ---- Channels ----

bool IPlugBase::IsInChannelConnected(int chIdx) const
{
  const InChannel* ch = mInChannels.Get(chIdx);
  return ch && ch->mConnected;
}

bool IPlugBase::IsOutChannelConnected(int chIdx) const
{
  const OutChannel* ch = mOutChannels.Get(chIdx);
  return ch && ch->mConnected;
}

void IPlugBase::SetInputChannelConnections(int idx, int n, bool connected)
{
  SetConnections(mInChannels, idx, n, connected, &InChannel::mSrc);
}

void IPlugBase::SetOutputChannelConnections(int idx, int n, bool connected)
{
  SetConnections(mOutChannels, idx, n, connected, &OutChannel::mDest);
}

bool IPlugBase::LegalIO(int nIn, int nOut) const
{
  for (int i = 0, n = mChannelIO.GetSize(); i < n; ++i)
  {
    const ChannelIO* io = mChannelIO.Get(i);
    if ((nIn < 0 || nIn == io->mIn) && (nOut < 0 || nOut == io->mOut)) return true;
  }
  return false;
}

bool IPlugBase::GetChannelIO(int idx, int* pNIn, int* pNOut) const
{
  const ChannelIO* io = mChannelIO.Get(idx);
  if (!io) return false;
  *pNIn = io->mIn;
  *pNOut = io->mOut;
  return true;
}

void IPlugBase::SetInputLabel(int idx, const char* pLabel)
{
  if (InChannel* ch = mInChannels.Get(idx)) ch->mLabel.Set(pLabel);
}

void IPlugBase::SetOutputLabel(int idx, const char* pLabel)
{
  if (OutChannel* ch = mOutChannels.Get(idx)) ch->mLabel.Set(pLabel);
}

const char* IPlugBase::GetInputLabel(int idx) const
{
  const InChannel* ch = mInChannels.Get(idx);
  return ch ? ch->mLabel.Get() : "";
}

const char* IPlugBase::GetOutputLabel(int idx) const
{
  const OutChannel* ch = mOutChannels.Get(idx);
  return ch ? ch->mLabel.Get() : "";
}

namespace
{
void SetBusLabel(WDL_PtrList<WDL_String>& labels, int idx, const char* pLabel)
{
  labels.Delete(idx, true);
  labels.Insert(idx, new WDL_String(pLabel));
}
} // namespace

void IPlugBase::SetInputBusLabel(int idx, const char* pLabel)
{
  if (idx < 0 || idx > 1) return;
  SetBusLabel(mInputBusLabels, idx, pLabel);
}

void IPlugBase::SetOutputBusLabel(int idx, const char* pLabel)
{
  if (idx < 0) return;
  SetBusLabel(mOutputBusLabels, idx, pLabel);
}

const char* IPlugBase::GetInputBusLabel(int idx) const
{
  const WDL_String* s = mInputBusLabels.Get(idx);
  return s ? s->Get() : "";
}

const char* IPlugBase::GetOutputBusLabel(int idx) const
{
  const WDL_String* s = mOutputBusLabels.Get(idx);
  return s ? s->Get() : "";
}

void IPlugBase::LimitToStereoIO()
{
  if (NInChannels() > 2) SetInputChannelConnections(2, NInChannels() - 2, false);
  if (NOutChannels() > 2) SetOutputChannelConnections(2, NOutChannels() - 2, true);
}

// ---- Buffers ----

void IPlugBase::AttachInputBuffers(int idx, int n, double** ppData, int /*nFrames*/)
{
  const int end = (idx + n < NInChannels()) ? idx + n : NInChannels();
  for (int i = idx < 0 ? 0 : idx; i < end; ++i)
  {
    InChannel* ch = mInChannels.Get(i);
    if (ch->mConnected) *ch->mSrc = *ppData++;
  }
}

void IPlugBase::AttachInputBuffers(int idx, int n, float** ppData, int nFrames)
{
  nFrames = ClampFrames(nFrames);
  const int end = (idx + n < NInChannels()) ? idx + n : NInChannels();
  for (int i = idx < 0 ? 0 : idx; i < end; ++i)
  {
    InChannel* ch = mInChannels.Get(i);
    if (!ch->mConnected) continue;
    double* scratch = ch->mScratchBuf.Get();
    SampleFormat::FloatToDouble(scratch, *ppData++, nFrames);
    *ch->mSrc = scratch;
  }
}

void IPlugBase::AttachOutputBuffers(int idx, int n, double** ppData)
{
  const int end = (idx + n < NOutChannels()) ? idx + n : NOutChannels();
  for (int i = idx < 0 ? 0 : idx; i < end; ++i)
  {
    OutChannel* ch = mOutChannels.Get(i);
    if (ch->mConnected) *ch->mDest = *ppData++;
  }
}

void IPlugBase::AttachOutputBuffers(int idx, int n, float** ppData)
{
  const int end = (idx + n < NOutChannels()) ? idx + n : NOutChannels();
  for (int i = idx < 0 ? 0 : idx; i < end; ++i)
  {
    OutChannel* ch = mOutChannels.Get(i);
    if (!ch->mConnected) continue;
    *ch->mDest = ch->mScratchBuf.Get();
    ch->mFDest = *ppData++;
  }
}

void IPlugBase::ConnectAndAttachInputs(int nConnected, float** ppData, int nFrames)
{
  nFrames = ClampFrames(nFrames);
  InChannel* const* channels = mInChannels.GetList();
  for (int i = 0, n = NInChannels(); i < n; ++i)
  {
    InChannel* ch = channels[i];
    double* scratch = ch->mScratchBuf.Get();
    ch->mConnected = i < nConnected;
    if (ch->mConnected) SampleFormat::FloatToDouble(scratch, ppData[i], nFrames);
    *ch->mSrc = scratch;
  }
}

void IPlugBase::ConnectAndAttachOutputs(int nConnected, float** ppData)
{
  OutChannel* const* channels = mOutChannels.GetList();
  for (int i = 0, n = NOutChannels(); i < n; ++i)
  {
    OutChannel* ch = channels[i];
    ch->mConnected = i < nConnected;
    *ch->mDest = ch->mScratchBuf.Get();
    if (ch->mConnected) ch->mFDest = ppData[i];
  }
}

void IPlugBase::ConvertOutputsToFloat(int nFrames, bool accumulate)
{
  for (int i = 0, n = NOutChannels(); i < n; ++i)
  {
    OutChannel* ch = mOutChannels.Get(i);
    if (!ch->mConnected || !ch->mFDest) continue;
    if (accumulate)
      SampleFormat::DoubleToFloatAdd(ch->mFDest, *ch->mDest, nFrames);
    else
      SampleFormat::DoubleToFloat(ch->mFDest, *ch->mDest, nFrames);
  }
}

void IPlugBase::ProcessBuffers(double /*sampleType*/, int nFrames)
{
  ProcessDoubleReplacing(mInData.Get(), mOutData.Get(), ClampFrames(nFrames));
}

void IPlugBase::ProcessBuffers(float /*sampleType*/, int nFrames)
{
  nFrames = ClampFrames(nFrames);
  ProcessDoubleReplacing(mInData.Get(), mOutData.Get(), nFrames);
  ConvertOutputsToFloat(nFrames, false);
}

void IPlugBase::ProcessBuffersAccumulating(float /*sampleType*/, int nFrames)
{
  nFrames = ClampFrames(nFrames);
  ProcessDoubleReplacing(mInData.Get(), mOutData.Get(), nFrames);
  ConvertOutputsToFloat(nFrames, true);
}

void IPlugBase::PassThroughBuffers(double /*sampleType*/, int nFrames)
{
  nFrames = ClampFrames(nFrames);
  if (mLatency && mDelay)
    mDelay->ProcessBlock(mInData.Get(), mOutData.Get(), nFrames);
  else
    IPlugBase::ProcessDoubleReplacing(mInData.Get(), mOutData.Get(), nFrames);
}

void IPlugBase::PassThroughBuffers(float sampleType, int nFrames)
{
  nFrames = ClampFrames(nFrames);
  PassThroughBuffers(static_cast<double>(sampleType), nFrames);
  ConvertOutputsToFloat(nFrames, false);
}

void IPlugBase::ZeroScratchBuffers()
{
  for (int i = 0, n = NInChannels(); i < n; ++i)
  {
    WDL_TypedBuf<double>& b = mInChannels.Get(i)->mScratchBuf;
    for (int s = 0; s < mBlockSize && s < b.GetSize(); ++s) b.Get()[s] = 0.0;
  }
  for (int i = 0, n = NOutChannels(); i < n; ++i)
  {
    WDL_TypedBuf<double>& b = mOutChannels.Get(i)->mScratchBuf;
    for (int s = 0; s < mBlockSize && s < b.GetSize(); ++s) b.Get()[s] = 0.0;
  }
}

// ---- Timing, host, identity ----

double IPlugBase::GetSamplesPerBeat()
{
  const double tempo = GetTempo();
  return tempo > 0.0 ? mSampleRate * 60.0 / tempo : 0.0;
}

void IPlugBase::SetHost(const char* host, int version)
{
  mHost = LookUpHost(host);
  mHostVersion = version;
}

int IPlugBase::GetHostVersion(bool decimal)
{
  GetHost();
  return decimal ? GetDecimalVersion(mHostVersion) : mHostVersion;
}

void IPlugBase::GetHostVersionStr(char* rStr)
{
  GetHost();
  GetVersionStr(mHostVersion, rStr);
}

int IPlugBase::GetEffectVersion(bool decimal) const
{
  return decimal ? GetDecimalVersion(mVersion) : mVersion;
}

void IPlugBase::GetEffectVersionStr(char* rStr) const
{
  GetVersionStr(mVersion, rStr);
  std::strcat(rStr, "D");
}

const char* IPlugBase::GetAPIString() const
{
  switch (mAPI)
  {
  case kAPIVST2: return "VST2";
  case kAPIVST3: return "VST3";
  case kAPIAU: return "AU";
  case kAPIRTAS: return "RTAS";
  case kAPIAAX: return "AAX";
  case kAPISA: return "Standalone";
  case kAPILV2: return "LV2";
  }
  return "";
}

bool IPlugBase::SendMidiMsgs(WDL_TypedBuf<IMidiMsg>* pMsgs)
{
  bool rc = true;
  IMidiMsg* msgs = pMsgs->Get();
  for (int i = 0, n = pMsgs->GetSize(); i < n; ++i) rc &= SendMidiMsg(msgs + i);
  return rc;
}

// ---- Parameter state ----

bool IPlugBase::SerializeParams(ByteChunk* pChunk)
{
  IMutexLock lock(this);
  bool savedOK = true;
  for (int i = 0, n = NParams(); i < n && savedOK; ++i)
  {
    const double v = GetParam(i)->Value();
    savedOK &= (pChunk->Put(&v) > 0);
  }
  return savedOK;
}

int IPlugBase::UnserializeParams(ByteChunk* pChunk, int startPos)
{
  IMutexLock lock(this);
  int pos = startPos;
  for (int i = 0, n = NParams(); i < n && pos >= 0; ++i)
  {
    double v = 0.0;
    pos = pChunk->Get(&v, pos);
    GetParam(i)->Set(v);
  }
  OnParamReset();
  return pos;
}
