// A TestEffectParameters initialised on a stand-in host whose automation
// delegate echoes set requests back, as a workstation does.
#pragma once

#include "StandInHost.h"
#include "TestEffectParameters.h"

#include "AAX_SPlugInChunk.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

class EffectParametersTest : public ::testing::Test
{
protected:
  using Options = TestEffectParameters::Options;

  void SetUp() override { Start(Options()); }
  void TearDown() override { Stop(); }

  void Start(Options options)
  {
    Stop();
    ep = TestEffectParameters::New(options);
    ASSERT_EQ(ep->Initialize(host.Unknown()), options.effectInitResult);
    host.Automation()->SetEchoTarget(ep);
  }
  void Stop()
  {
    if (!ep) return;
    host.Automation()->SetEchoTarget(nullptr);
    ep->Uninitialize();
    EXPECT_EQ(ep->Release(), 0u);
    ep = nullptr;
  }

  double Normalized(const char* id) const
  {
    double v = -1;
    EXPECT_EQ(ep->GetParameterNormalizedValue(id, &v), 0) << id;
    return v;
  }
  int32_t Changes() const
  {
    int32_t n = -1;
    ep->GetNumberOfChanges(&n);
    return n;
  }

  aaxhost::StandInHost host;
  TestEffectParameters* ep = nullptr;
};

// A host-owned chunk record with room for `dataSize` bytes of data.
class ChunkRecord
{
public:
  explicit ChunkRecord(size_t dataSize, AAX_CTypeID id = 0x656C636B)
      : mStorage((kAAX_SPlugInChunkHeaderSize + dataSize + 7) / 8 + 1, 0)
  {
    get()->fChunkID = id;
  }
  AAX_SPlugInChunk* get() { return reinterpret_cast<AAX_SPlugInChunk*>(mStorage.data()); }
  AAX_SPlugInChunk* operator->() { return get(); }
  std::vector<uint8_t> Data()
  {
    const auto* d = reinterpret_cast<const uint8_t*>(get()->fData);
    return std::vector<uint8_t>(d, d + get()->fSize);
  }

private:
  std::vector<uint64_t> mStorage;
};
