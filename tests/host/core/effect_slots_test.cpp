// The host's view of the real effect-parameters object: a V4 pointer from
// QueryInterface, called by slot number with the slot's signature, for a
// sample of slots from all four versions.
#include "TestEffectParameters.h"
#include "StandInHost.h"

#include "AAX_Errors.h"
#include "AAX_UIDs.h"
#include "ACF/acfcomponentfactory.h"
#include "ACF/acfuids.h"

#include <gtest/gtest.h>

using namespace aaxhost;

namespace
{
template <class R, class... A> R CallSlot(void* object, int slot, A... args)
{
  using Fn = R (*)(void*, A...);
  void** table = *static_cast<void***>(object);
  return reinterpret_cast<Fn>(table[slot])(object, args...);
}

// The operations whose base behaviour is only a result code record their
// name, so that a shifted slot cannot pass unnoticed.
class SlotEffect : public TestEffectParameters
{
public:
  SlotEffect() : TestEffectParameters(Options()) {}
  std::vector<std::string> calls;

  AAX_Result RenderAudio_Hybrid(AAX_SHybridRenderInfo*) override
  {
    return calls.push_back("RenderAudio_Hybrid"), 0;
  }
  AAX_Result UpdateMIDINodes(AAX_CFieldIndex, AAX_CMidiPacket&) override
  {
    return calls.push_back("UpdateMIDINodes"), 0;
  }
  AAX_Result UpdateControlMIDINodes(AAX_CTypeID, AAX_CMidiPacket&) override
  {
    return calls.push_back("UpdateControlMIDINodes"), 0;
  }
  AAX_Result GetCurveDataMeterIds(AAX_CTypeID, uint32_t*, uint32_t*) const override
  {
    return const_cast<SlotEffect*>(this)->calls.push_back("GetCurveDataMeterIds"), 0;
  }
  AAX_Result GetCurveDataDisplayRange(AAX_CTypeID, float*, float*, float*,
                                      float*) const override
  {
    return const_cast<SlotEffect*>(this)->calls.push_back("GetCurveDataDisplayRange"), 0;
  }
  using AAX_CEffectParameters::UpdatePageTable;
  AAX_Result UpdatePageTable(uint32_t type, int32_t size, AAX_IPageTable&) const override
  {
    const_cast<SlotEffect*>(this)->calls.push_back("UpdatePageTable " + std::to_string(type) +
                                                   " " + std::to_string(size));
    return 0;
  }
};

using R = AAX_Result;
using P = AAX_CParamID;
} // namespace

TEST(EffectParametersSlots, TheHostReachesEachOperationAtItsSlot)
{
  StandInHost host;
  auto* ep = new SlotEffect;
  void* o = nullptr;
  ASSERT_EQ(ep->GetPrivateUnknown()->QueryInterface(IID_IAAXEffectParametersV4, &o), 0);
  ASSERT_EQ(o, static_cast<AAX_IACFEffectParameters_V4*>(ep));
  EXPECT_EQ(CallSlot<acfUInt32>(o, 1), 2u); // AddRef
  EXPECT_EQ(CallSlot<acfUInt32>(o, 2), 1u); // Release

  EXPECT_EQ((CallSlot<R, IACFUnknown*>(o, 3, host.Unknown())), 0); // Initialize
  EXPECT_NE(ep->Controller(), nullptr);
  int32_t i = 0;
  EXPECT_EQ((CallSlot<R, int32_t*>(o, 6, &i)), 0); // GetNumberOfParameters
  EXPECT_EQ(i, 4);
  AAX_CString s;
  CallSlot<R, AAX_IString*>(o, 7, &s); // GetMasterBypassParameter
  EXPECT_EQ(s, "MasterBypassID");
  CallSlot<R, P, AAX_IString*>(o, 10, "2", &s); // GetParameterName
  EXPECT_EQ(s, "Gain");
  CallSlot<R, P, AAX_IString*, int32_t>(o, 11, "1", &s, 2); // GetParameterNameOfLength
  EXPECT_EQ(s, "Sw");
  CallSlot<R, P, int32_t*>(o, 17, "3", &i); // GetParameterIndex
  EXPECT_EQ(i, 3);
  CallSlot<R, int32_t, AAX_IString*>(o, 18, 1, &s); // GetParameterIDFromIndex
  EXPECT_EQ(s, "1");
  EXPECT_EQ((CallSlot<R, P, int32_t, int32_t*>(o, 19, "1", 0, &i)), AAX_ERROR_UNIMPLEMENTED);
  CallSlot<R, P, double>(o, 24, "3", 0.25); // SetParameterNormalizedValue (no echo)
  double d = 0;
  CallSlot<R, P, double*>(o, 23, "3", &d); // GetParameterNormalizedValue
  EXPECT_EQ(d, 0.5);
  CallSlot<R, P, double, AAX_EUpdateSource>(o, 29, "3", 0.25, AAX_EUpdateSource{});
  CallSlot<R, P, double*>(o, 23, "3", &d);
  EXPECT_EQ(d, 0.25);
  CallSlot<R, int32_t*>(o, 39, &i); // GetNumberOfChanges
  EXPECT_EQ(i, 1);
  uint8_t field[3] = {1, 2, 3};
  CallSlot<R, AAX_CFieldIndex, void*, uint32_t>(o, 32, 0, field, 3); // ResetFieldData
  EXPECT_EQ(field[0] + field[1] + field[2], 0);
  CallSlot<R, int32_t*>(o, 33, &i); // GetNumberOfChunks
  EXPECT_EQ(i, 1);
  AAX_CTypeID id = 0;
  CallSlot<R, int32_t, AAX_CTypeID*>(o, 34, 0, &id); // GetChunkIDFromIndex
  EXPECT_EQ(id, 0x656C636Bu);
  uint32_t size = 0;
  CallSlot<R, AAX_CTypeID, uint32_t*>(o, 35, id, &size); // GetChunkSize
  EXPECT_EQ(size, 32u);
  uint32_t written = 9;
  CallSlot<R, AAX_CTypeID, uint32_t, void*, uint32_t*>(o, 42, 0, 0, nullptr, &written);
  EXPECT_EQ(written, 0u); // GetCustomData

  AAX_CMidiPacket midi{};
  float f = 0;
  uint32_t u = 0;
  CallSlot<R, AAX_SHybridRenderInfo*>(o, 45, nullptr);
  CallSlot<R, AAX_CFieldIndex, AAX_CMidiPacket&>(o, 46, 0, midi);
  CallSlot<R, AAX_CTypeID, AAX_CMidiPacket&>(o, 47, 0, midi);
  CallSlot<R, AAX_CTypeID, uint32_t*, uint32_t*>(o, 48, 0, &u, &u);
  CallSlot<R, AAX_CTypeID, float*, float*, float*, float*>(o, 49, 0, &f, &f, &f, &f);
  // Slot 50 wraps the host's page table and hands it to the page-table form.
  auto* factory = [&]
  {
    void* p = nullptr;
    host.Unknown()->QueryInterface(IID_IACFComponentFactory, &p);
    return static_cast<IACFComponentFactory*>(p);
  }();
  void* table = nullptr;
  ASSERT_EQ(factory->CreateComponent(AAXCompID_PageTable, nullptr, IID_IAAXPageTableV1, &table),
            0);
  CallSlot<R, uint32_t, int32_t, IACFUnknown*, IACFUnknown*>(o, 50, 7, 8, host.Unknown(),
                                                             static_cast<IACFUnknown*>(table));
  EXPECT_EQ(ep->calls,
            (std::vector<std::string>{"RenderAudio_Hybrid", "UpdateMIDINodes",
                                      "UpdateControlMIDINodes", "GetCurveDataMeterIds",
                                      "GetCurveDataDisplayRange", "UpdatePageTable 7 8"}));
  static_cast<IACFUnknown*>(table)->Release();
  factory->Release();

  EXPECT_EQ((CallSlot<R>(o, 4)), 0); // Uninitialize
  EXPECT_EQ(ep->Controller(), nullptr);
  EXPECT_EQ(CallSlot<acfUInt32>(o, 2), 0u);
}

TEST(EffectParametersSlots, PageTableCallsWithoutATableAnswerSuccess)
{
  TestEffectParameters* ep = TestEffectParameters::New();
  EXPECT_EQ(ep->UpdatePageTable(1, 8, nullptr, nullptr), 0);
  AAX_CMidiPacket midi{};
  EXPECT_EQ(ep->RenderAudio_Hybrid(nullptr), AAX_ERROR_UNIMPLEMENTED);
  EXPECT_EQ(ep->UpdateMIDINodes(0, midi), 0);
  EXPECT_EQ(ep->GetCurveData(0, nullptr, 0, nullptr), AAX_ERROR_UNIMPLEMENTED);
  EXPECT_EQ(ep->GetCurveDataMeterIds(0, nullptr, nullptr), AAX_ERROR_UNIMPLEMENTED);
  EXPECT_EQ(ep->GetCurveDataDisplayRange(0, nullptr, nullptr, nullptr, nullptr),
            AAX_ERROR_UNIMPLEMENTED);
  EXPECT_EQ(ep->Release(), 0u);
}
