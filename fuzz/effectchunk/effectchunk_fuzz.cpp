// Feeds arbitrary chunk records to an effect-parameters object's SetChunk and
// CompareActiveChunk, then checks that what it saves afterwards restores to
// the same values. The input is the record as a host hands it: header then
// data; the data area always holds the stated size (the caller's promise),
// so a larger stated size is cut to what the input holds.

#include "AAX_SPlugInChunk.h"
#include "StandInHost.h"
#include "TestEffectParameters.h" // bool, int32, double and text-only parameters

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace
{
constexpr AAX_CTypeID kElck = 0x656C636B;

// Every normalised value, in parameter order.
std::vector<double> Read(TestEffectParameters& ep)
{
  int32_t n = 0;
  ep.GetNumberOfParameters(&n);
  std::vector<double> values;
  for (int32_t i = 0; i < n; ++i)
    values.push_back(ep.Manager().GetParameter(i)->GetNormalizedValue());
  return values;
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
    TestEffectParameters::Options options;
    options.text = true;
    ep = TestEffectParameters::New(options);
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
  TestEffectParameters* ep;
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  Instance instance;
  TestEffectParameters& ep = *instance.ep;

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
  const std::vector<double> before = Read(ep);
  uint32_t chunkSize = 0;
  if (ep.GetChunkSize(kElck, &chunkSize) != 0) std::abort();
  Record saved(chunkSize);
  saved.get()->fChunkID = kElck;
  if (ep.GetChunk(kElck, saved.get()) != 0) std::abort();
  if (ep.SetChunk(kElck, saved.get()) != 0) std::abort();
  const std::vector<double> after = Read(ep);
  bool anyNaN = false;
  for (size_t i = 0; i < before.size(); ++i)
  {
    if (!Same(before[i], after[i])) std::abort();
    anyNaN = anyNaN || std::isnan(after[i]);
  }
  // A restored NaN never equals itself; everything else must compare equal.
  if (ep.CompareActiveChunk(saved.get(), &equal) != 0) std::abort();
  if (!equal && !anyNaN) std::abort();
  return 0;
}
