#include "IPlugLV2.h"
#include "IPlugLV2Time.h"

#include <lv2/atom/atom.h>
#include <lv2/buf-size/buf-size.h>
#include <lv2/options/options.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>
#include <thread>
#include <vector>

namespace
{
// A state value larger than this is no state this framework wrote: refuse it
// before copying it.
constexpr size_t kMaxStateBytes = 1u << 20;

const void* Feature(const LV2_Feature* const* features, const char* uri)
{
  for (const LV2_Feature* const* f = features; f && *f; ++f)
    if ((*f)->URI && std::strcmp((*f)->URI, uri) == 0) return (*f)->data;
  return nullptr;
}

// bufsz:maxBlockLength from the host's options, or 0 when not offered (or
// offered as a type we cannot read).
int MaxBlockLength(const LV2_Options_Option* options, LV2_URID_Map* map)
{
  if (!options || !map) return 0;
  const LV2_URID maxLen = map->map(map->handle, LV2_BUF_SIZE__maxBlockLength);
  const LV2_URID intType = map->map(map->handle, LV2_ATOM__Int);
  const LV2_URID longType = map->map(map->handle, LV2_ATOM__Long);
  for (const LV2_Options_Option* o = options; o->key || o->value; ++o)
  {
    if (o->key != maxLen || !o->value) continue;
    if (o->type == intType && o->size == sizeof(int32_t))
      return *static_cast<const int32_t*>(o->value);
    if (o->type == longType && o->size == sizeof(int64_t))
    {
      const int64_t v = *static_cast<const int64_t*>(o->value);
      return v > IPlugLV2::kMaxBlockSize ? IPlugLV2::kMaxBlockSize : static_cast<int>(v);
    }
  }
  return 0;
}

IPlugLV2* Plug(LV2_Handle h) { return static_cast<IPlugLV2*>(h); }

LV2_Handle LvInstantiate(const LV2_Descriptor*, double rate, const char*,
                         const LV2_Feature* const* features)
{
  IPlugLV2* plug = nullptr;
  try
  {
    plug = MakePlug();
    if (plug && plug->Instantiate(rate, features)) return plug;
  }
  catch (...)
  {
  }
  delete plug;
  return nullptr;
}

void LvConnectPort(LV2_Handle h, uint32_t port, void* data) { Plug(h)->ConnectPort(port, data); }
void LvActivate(LV2_Handle h) { Plug(h)->Activate(true); }
void LvRun(LV2_Handle h, uint32_t n) { Plug(h)->Run(n); }
void LvDeactivate(LV2_Handle h) { Plug(h)->Activate(false); }
void LvCleanup(LV2_Handle h) { delete Plug(h); }

LV2_State_Status LvSave(LV2_Handle h, LV2_State_Store_Function store, LV2_State_Handle handle,
                        uint32_t, const LV2_Feature* const*)
{
  try
  {
    return Plug(h)->SaveState(store, handle);
  }
  catch (...)
  {
    return LV2_STATE_ERR_UNKNOWN;
  }
}

LV2_State_Status LvRestore(LV2_Handle h, LV2_State_Retrieve_Function retrieve,
                           LV2_State_Handle handle, uint32_t, const LV2_Feature* const*)
{
  try
  {
    return Plug(h)->RestoreState(retrieve, handle);
  }
  catch (...)
  {
    return LV2_STATE_ERR_UNKNOWN;
  }
}

const void* LvExtensionData(const char* uri)
{
  static const LV2_State_Interface kState = {&LvSave, &LvRestore};
  if (uri && std::strcmp(uri, LV2_STATE__interface) == 0) return &kState;
  return nullptr;
}
} // namespace

IPlugLV2::IPlugLV2(IPlugInstanceInfo /*instanceInfo*/, int nParams, const char* channelIOStr,
                   int nPresets, const char* effectName, const char* productName,
                   const char* mfrName, int vendorVersion, int uniqueID, int mfrID, int latency,
                   bool plugDoesMidi, bool plugDoesChunks, bool plugIsInst, int /*plugScChans*/)
    : IPlugBase(nParams, channelIOStr, nPresets, effectName, productName, mfrName, vendorVersion,
                uniqueID, mfrID, latency, plugDoesMidi, plugDoesChunks, plugIsInst, kAPILV2)
{
  // LV2 keeps instantiation, audio and save calls apart by its threading
  // rules, and run() may take no lock: what the mutex kept beside the audio
  // (a consistent save) is kept by the published values instead.
  SetMutexFree();
  SetInputChannelConnections(0, NInChannels(), true);
  SetOutputChannelConnections(0, NOutChannels(), true);
  if (NInChannels())
  {
    mDelay = new NChanDelayLine(NInChannels(), NOutChannels());
    mDelay->SetDelayTime(latency);
  }
  mControlPorts.Resize(nParams);
  mPublished.reset(new std::atomic<double>[static_cast<size_t>(nParams > 0 ? nParams : 1)]);
  mInPorts.Resize(NInChannels());
  mOutPorts.Resize(NOutChannels());
  mInPiece.Resize(NInChannels());
  mOutPiece.Resize(NOutChannels());
}

IPlugLV2::~IPlugLV2() = default;

void IPlugLV2::PortSymbol(const char* name, char* out, int outSize)
{
  if (outSize <= 0) return;
  int n = 0;
  if (name && name[0] >= '0' && name[0] <= '9' && n < outSize - 1) out[n++] = '_';
  for (const char* c = name; c && *c && n < outSize - 1; ++c)
  {
    const unsigned char ch = static_cast<unsigned char>(*c);
    if (ch >= 'A' && ch <= 'Z')
      out[n++] = static_cast<char>(ch - 'A' + 'a');
    else if ((ch >= 'a' && ch <= 'z') || (ch >= '0' && ch <= '9') || ch == '_')
      out[n++] = static_cast<char>(ch);
    else
      out[n++] = '_';
  }
  out[n] = '\0';
  if (n == 0) std::snprintf(out, static_cast<size_t>(outSize), "param");
}

bool IPlugLV2::Instantiate(double sampleRate, const LV2_Feature* const* features)
{
  if (!(sampleRate > 0.0) || !std::isfinite(sampleRate)) return false;
  mMap = static_cast<LV2_URID_Map*>(const_cast<void*>(Feature(features, LV2_URID__map)));
  if (mMap)
  {
    mChunkType = mMap->map(mMap->handle, LV2_ATOM__Chunk);
    const std::string key = std::string(IPlugLV2_PluginURI()) + StateKeySuffix();
    mStateKey = mMap->map(mMap->handle, key.c_str());
  }
  const auto* options =
      static_cast<const LV2_Options_Option*>(Feature(features, LV2_OPTIONS__options));
  int block = MaxBlockLength(options, mMap);
  if (block <= 0) block = kDefaultBlockSize;
  if (block > kMaxBlockSize) block = kMaxBlockSize;
  try
  {
    SetBlockSize(block);
    mSilence.Resize(block);
    mSink.Resize(block);
  }
  catch (const std::bad_alloc&)
  {
    return false;
  }
  SetSampleRate(sampleRate);
  Reset();
  PublishValues();
  return true;
}

void IPlugLV2::ConnectPort(uint32_t port, void* data)
{
  const auto p = static_cast<int>(port);
  if (port >= static_cast<uint32_t>(NPorts())) return;
  float* f = static_cast<float*>(data);
  if (p < NParams())
    mControlPorts.Get()[p] = f;
  else if (p < AudioOutPort(0))
    mInPorts.Get()[p - AudioInPort(0)] = f;
  else if (p < LatencyPort())
    mOutPorts.Get()[p - AudioOutPort(0)] = f;
  else if (p == LatencyPort())
    mLatencyPort = f;
}

void IPlugLV2::Activate(bool active)
{
  if (active) ZeroScratchBuffers();
  OnActivate(active);
}

void IPlugLV2::Run(uint32_t nFrames)
{
  int nobody = kOwnerNone;
  if (mOwner.compare_exchange_strong(nobody, kOwnerRun, std::memory_order_acquire))
  {
    if (ApplyControlPorts()) PublishValues();
    RenderPieces(nFrames);
    mOwner.store(kOwnerNone, std::memory_order_release);
  }
  else
  {
    // A restore is inside the parameters (a host calling it beside run()
    // breaks LV2's rules): silence rather than a render of half a state.
    for (int c = 0, n = NOutChannels(); c < n; ++c)
      if (float* out = mOutPorts.Get()[c])
        for (uint32_t s = 0; s < nFrames; ++s)
          out[s] = 0.0f;
  }
  if (mLatencyPort) *mLatencyPort = static_cast<float>(GetLatency());
}

bool IPlugLV2::ApplyControlPorts()
{
  bool changed = false;
  float* const* controls = mControlPorts.Get();
  for (int i = 0, n = NParams(); i < n; ++i)
  {
    if (!controls[i]) continue;
    const float v = *controls[i];
    if (std::isnan(v)) continue;
    IParam* param = GetParam(i);
    double d = v;
    // Toggles are on for any value above zero; integer ports take the
    // nearest integer, as a host shows them.
    if (param->Type() == IParam::kTypeBool)
      d = d > 0.0 ? param->GetMax() : param->GetMin();
    else if (param->Type() != IParam::kTypeDouble)
      d = std::floor(d + 0.5);
    d = d < param->GetMin() ? param->GetMin() : (d > param->GetMax() ? param->GetMax() : d);
    // Compared with the parameter, not with the port's last value: a value
    // a restore set is replaced by the port's as soon as they differ.
    if (d == param->Value()) continue;
    param->Set(d);
    OnParamChange(i);
    changed = true;
  }
  return changed;
}

void IPlugLV2::RenderPieces(uint32_t nFrames)
{
  const int nIn = NInChannels(), nOut = NOutChannels();
  float** inPiece = mInPiece.Get();
  float** outPiece = mOutPiece.Get();
  for (uint32_t done = 0; done < nFrames;)
  {
    const uint32_t left = nFrames - done;
    const int n = left > static_cast<uint32_t>(mBlockSize) ? mBlockSize : static_cast<int>(left);
    for (int c = 0; c < nIn; ++c)
      inPiece[c] = mInPorts.Get()[c] ? mInPorts.Get()[c] + done : mSilence.Get();
    for (int c = 0; c < nOut; ++c)
      outPiece[c] = mOutPorts.Get()[c] ? mOutPorts.Get()[c] + done : mSink.Get();
    if (!mSingle || !ProcessSingleReplacing(inPiece, outPiece, n))
    {
      mSingle = false;
      ConnectAndAttachInputs(nIn, inPiece, n);
      ConnectAndAttachOutputs(nOut, outPiece);
      ProcessBuffers(0.0f, n);
    }
    done += static_cast<uint32_t>(n);
  }
}

// A sequence lock with every access sequentially consistent (no standalone
// fences, which ThreadSanitizer cannot follow): the count is odd while the
// values are written, and a reader that saw it odd or changed reads again.
// Writing costs run() a few atomic stores, and only when a value changed.
void IPlugLV2::PublishValues()
{
  mPublishedSeq.fetch_add(1);
  for (int i = 0, n = NParams(); i < n; ++i)
    mPublished[static_cast<size_t>(i)].store(GetParam(i)->Value());
  mPublishedSeq.fetch_add(1);
}

void IPlugLV2::ReadPublishedValues(double* values) const
{
  for (;;)
  {
    const uint32_t before = mPublishedSeq.load();
    if (!(before & 1u))
    {
      for (int i = 0, n = NParams(); i < n; ++i)
        values[i] = mPublished[static_cast<size_t>(i)].load();
      if (mPublishedSeq.load() == before) return;
    }
    // run() is publishing: it never waits, so this is short.
    std::this_thread::yield();
  }
}

LV2_State_Status IPlugLV2::SaveState(LV2_State_Store_Function store, LV2_State_Handle handle)
{
  if (!mMap || !store) return LV2_STATE_ERR_NO_FEATURE;
  ByteChunk chunk;
  if (DoesStateChunks())
  {
    if (!SerializeState(&chunk)) return LV2_STATE_ERR_UNKNOWN;
  }
  else
  {
    // The base's parameter state, byte for byte: one double per parameter.
    std::vector<double> values(static_cast<size_t>(NParams()));
    ReadPublishedValues(values.data());
    for (const double& v : values)
      if (chunk.Put(&v) <= 0) return LV2_STATE_ERR_UNKNOWN;
  }
  return store(handle, mStateKey, chunk.GetBytes(), static_cast<size_t>(chunk.Size()), mChunkType,
               LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE);
}

LV2_State_Status IPlugLV2::RestoreState(LV2_State_Retrieve_Function retrieve,
                                        LV2_State_Handle handle)
{
  if (!mMap || !retrieve) return LV2_STATE_ERR_NO_FEATURE;
  size_t size = 0;
  uint32_t type = 0, flags = 0;
  const void* data = retrieve(handle, mStateKey, &size, &type, &flags);
  if (!data) return LV2_STATE_ERR_NO_PROPERTY;
  if (type != mChunkType) return LV2_STATE_ERR_BAD_TYPE;
  return RestoreStateBytes(data, size);
}

LV2_State_Status IPlugLV2::RestoreStateBytes(const void* data, size_t size)
{
  if (size > kMaxStateBytes || (!data && size)) return LV2_STATE_ERR_UNKNOWN;
  // Restore never runs beside run() under LV2's rules; a host that breaks
  // them gets its restore after the run() in progress, and silence from a
  // run() that starts meanwhile, never a crash or half a state.
  struct Turn
  {
    std::atomic<int>& owner;
    explicit Turn(std::atomic<int>& o) : owner(o)
    {
      for (int nobody = kOwnerNone; !owner.compare_exchange_weak(
               nobody, kOwnerRestore, std::memory_order_acquire);
           nobody = kOwnerNone)
        std::this_thread::yield();
    }
    ~Turn() { owner.store(kOwnerNone, std::memory_order_release); }
  } turn(mOwner);
  ByteChunk backup;
  if (!SerializeState(&backup)) return LV2_STATE_ERR_UNKNOWN;
  const bool taken = Trial(static_cast<const unsigned char*>(data), size);
  // Refused: put back what was there, byte for byte.
  if (!taken) UnserializeState(&backup, 0);
  PublishValues();
  return taken ? LV2_STATE_SUCCESS : LV2_STATE_ERR_UNKNOWN;
}

// In restore's turn: loads the bytes and keeps them only when the
// plug-in took all of them, every value is finite and what it would save now
// is exactly what it was given (so nothing was clamped or ignored).
bool IPlugLV2::Trial(const unsigned char* data, size_t size)
{
  ByteChunk in;
  in.PutBytes(data, static_cast<int>(size));
  if (UnserializeState(&in, 0) != static_cast<int>(size)) return false;
  for (int i = 0; i < NParams(); ++i)
    if (!std::isfinite(GetParam(i)->Value())) return false;
  ByteChunk again;
  if (!SerializeState(&again) || again.Size() != in.Size()) return false;
  if (size && std::memcmp(again.GetBytes(), in.GetBytes(), size) != 0) return false;
  RedrawParamControls();
  return true;
}

bool IPlugLV2::IsPresetInitialized(int idx) const
{
  const IPreset* p = mPresets.Get(idx);
  return p && p->mInitialized;
}

void IPlugLV2::GetTimeSig(int* pNum, int* pDenom) { IPlugLV2_StoppedTimeSig(pNum, pDenom); }

void IPlugLV2::GetTime(ITimeInfo* pTimeInfo) { IPlugLV2_StoppedTime(pTimeInfo); }

const LV2_Descriptor* IPlugLV2::Descriptor(const char* uri)
{
  static const LV2_Descriptor kDescriptor = {uri,         &LvInstantiate,  &LvConnectPort,
                                             &LvActivate, &LvRun,          &LvDeactivate,
                                             &LvCleanup,  &LvExtensionData};
  return &kDescriptor;
}
