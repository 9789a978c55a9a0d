// Feeds arbitrary chunk records to an effect-parameters object's SetChunk and
// CompareActiveChunk, then checks that what it saves afterwards restores to
// the same values. The input is the record as a host hands it: header then
// data; the data area always holds the stated size (the caller's promise),
// so a larger stated size is cut to what the input holds.

#include "AAX_CBinaryDisplayDelegate.h"
#include "AAX_CBinaryTaperDelegate.h"
#include "AAX_CEffectParameters.h"
#include "AAX_CLinearTaperDelegate.h"
#include "AAX_CNumberDisplayDelegate.h"
#include "AAX_CParameter.h"
#include "AAX_SPlugInChunk.h"
#include "StandInHost.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace
{
constexpr AAX_CTypeID kElck = 0x656C636B;

// One parameter of each value kind, plus the master bypass that the chunk leaves out.
class FuzzEffect : public AAX_CEffectParameters
{
public:
  AAX_Result EffectInit() override
  {
    const AAX_CBinaryTaperDelegate<bool> binary;
    const AAX_CBinaryDisplayDelegate<bool> onOff("off", "on");
    mParameterManager.AddParameter(
        new AAX_CParameter<bool>("MasterBypassID", AAX_CString("Bypass"), false, binary, onOff));
    mParameterManager.AddParameter(
        new AAX_CParameter<bool>("b", AAX_CString("Bool"), true, binary, onOff));
    // 0..10 maps every integer through the normalised range and back exactly.
    mParameterManager.AddParameter(new AAX_CParameter<int32_t>(
        "i", AAX_CString("Int"), 3, AAX_CLinearTaperDelegate<int32_t, 0>(0, 10),
        AAX_CNumberDisplayDelegate<int32_t>()));
    mParameterManager.AddParameter(new AAX_CParameter<double>(
        "d", AAX_CString("Double"), 0.25, AAX_CLinearTaperDelegate<double, 0>(0.0, 1.0),
        AAX_CNumberDisplayDelegate<double>()));
    return 0;
  }
};

struct Values
{
  bool b = false;
  int32_t i = 0;
  double d = 0;
};

Values Read(FuzzEffect& ep)
{
  Values v;
  AAX_IParameter* p = nullptr;
  if (ep.GetParameter("b", &p) != 0 || !p->GetValueAsBool(&v.b)) std::abort();
  if (ep.GetParameter("i", &p) != 0 || !p->GetValueAsInt32(&v.i)) std::abort();
  if (ep.GetParameter("d", &p) != 0 || !p->GetValueAsDouble(&v.d)) std::abort();
  return v;
}

bool Same(double a, double b) { return a == b || (std::isnan(a) && std::isnan(b)); }

// A record on the heap of exactly header + dataSize bytes, so reads past it are caught.
struct Record
{
  explicit Record(size_t dataSize)
      : bytes(static_cast<uint8_t*>(std::calloc(1, kAAX_SPlugInChunkHeaderSize + dataSize)))
  {
  }
  ~Record() { std::free(bytes); }
  AAX_SPlugInChunk* get() { return reinterpret_cast<AAX_SPlugInChunk*>(bytes); }
  uint8_t* bytes;
};

// A fresh host and instance per input: runs stay independent, and everything
// an input allocates is freed by its end (so leak checks stay meaningful).
struct Instance
{
  Instance()
  {
    ep = new FuzzEffect;
    ep->AddRef();
    if (ep->Initialize(host.Unknown()) != 0) std::abort();
    host.Automation()->SetEchoTarget(ep); // restored values arrive through the echo
  }
  ~Instance()
  {
    host.Automation()->SetEchoTarget(nullptr);
    ep->Uninitialize();
    if (ep->Release() != 0) std::abort();
  }
  aaxhost::StandInHost host;
  FuzzEffect* ep;
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  Instance instance;
  FuzzEffect& ep = *instance.ep;

  const size_t dataSize = size > kAAX_SPlugInChunkHeaderSize ? size - kAAX_SPlugInChunkHeaderSize : 0;
  Record in(dataSize);
  if (size) std::memcpy(in.bytes, data, size);
  if (static_cast<int64_t>(in.get()->fSize) > static_cast<int64_t>(dataSize))
    in.get()->fSize = static_cast<int32_t>(dataSize);
  // Half of the inputs are compared as our own chunk whatever their header says.
  if (size > 0 && (data[0] & 1)) in.get()->fChunkID = kElck;

  AAX_CBoolean equal = 0;
  if (ep.CompareActiveChunk(in.get(), &equal) != 0) std::abort();
  if (ep.SetChunk(kElck, in.get()) != 0) std::abort();

  // Whatever was restored must save and restore to the same values.
  const Values before = Read(ep);
  uint32_t chunkSize = 0;
  if (ep.GetChunkSize(kElck, &chunkSize) != 0) std::abort();
  Record saved(chunkSize);
  saved.get()->fChunkID = kElck;
  if (ep.GetChunk(kElck, saved.get()) != 0) std::abort();
  if (ep.SetChunk(kElck, saved.get()) != 0) std::abort();
  const Values after = Read(ep);
  if (before.b != after.b || before.i != after.i || !Same(before.d, after.d)) std::abort();
  if (ep.CompareActiveChunk(saved.get(), &equal) != 0) std::abort();
  if (!equal && !std::isnan(after.d)) std::abort();
  return 0;
}
