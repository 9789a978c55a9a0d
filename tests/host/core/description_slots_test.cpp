// Slot positions of the description interfaces: each operation called through
// the table at the slot the module relies on reaches that host operation.
#include "StandInHost.h"

#include "AAX_UIDs.h"

#include <gtest/gtest.h>

#include <functional>

using namespace aaxhost;

namespace
{
template <class R, class... A> R CallSlot(void* object, int slot, A... args)
{
  using Fn = R (*)(void*, A...);
  void** table = *static_cast<void***>(object);
  return reinterpret_cast<Fn>(table[slot])(object, args...);
}

using R = AAX_Result;
using B = AAX_CBoolean;
using P = AAX_EProperty;
using F = AAX_CFieldIndex;
using Case = std::pair<const char*, std::function<void(void*, int)>>;

// Makes clsid as iid through the host's factory, runs cases[i] at slot 3 + i
// and checks the op the component recorded.
void CheckSlots(StandInHost& host, const acfCLSID& clsid, const acfIID& iid,
                const std::vector<Case>& cases)
{
  void* p = nullptr;
  ASSERT_EQ(host.Factory()->CreateComponent(clsid, nullptr, iid, &p), 0);
  Component* component = nullptr;
  static_cast<IACFUnknown*>(p)->QueryInterface(IID_AAXHostComponent,
                                               reinterpret_cast<void**>(&component));
  ASSERT_NE(component, nullptr);
  for (size_t i = 0; i < cases.size(); ++i)
  {
    cases[i].second(p, int(3 + i));
    EXPECT_EQ(component->Calls().Last().op, cases[i].first) << "slot " << 3 + i;
  }
  static_cast<IACFUnknown*>(p)->Release();
  static_cast<IACFUnknown*>(p)->Release();
}
} // namespace

TEST(DescriptionSlots, CollectionEffectAndPropertyMapOperationsStandAtTheirSlots)
{
  StandInHost host;
  CheckSlots(
      host, AAXCompID_AAXCollection, IID_IAAXCollectionV1,
      {{"AddEffect", [](void* o, int s) { CallSlot<R, const char*, void*>(o, s, "e", nullptr); }},
       {"SetManufacturerName", [](void* o, int s) { CallSlot<R, const char*>(o, s, "m"); }},
       {"AddPackageName", [](void* o, int s) { CallSlot<R, const char*>(o, s, "p"); }},
       {"SetPackageVersion", [](void* o, int s) { CallSlot<R, uint32_t>(o, s, 1); }},
       {"SetProperties", [](void* o, int s) { CallSlot<R, void*>(o, s, nullptr); }}});
  CheckSlots(
      host, AAXCompID_AAXEffectDescriptor, IID_IAAXEffectDescriptorV2,
      {{"AddComponent", [](void* o, int s) { CallSlot<R, void*>(o, s, nullptr); }},
       {"AddName", [](void* o, int s) { CallSlot<R, const char*>(o, s, "n"); }},
       {"AddCategory", [](void* o, int s) { CallSlot<R, uint32_t>(o, s, 1); }},
       {"AddCategoryBypassParameter",
        [](void* o, int s) { CallSlot<R, uint32_t, const char*>(o, s, 1, "b"); }},
       {"AddProcPtr", [](void* o, int s) { CallSlot<R, void*, uint32_t>(o, s, nullptr, 0); }},
       {"SetProperties", [](void* o, int s) { CallSlot<R, void*>(o, s, nullptr); }},
       {"AddResourceInfo", [](void* o, int s) { CallSlot<R, int32_t, const char*>(o, s, 0, "r"); }},
       {"AddMeterDescription",
        [](void* o, int s) { CallSlot<R, uint32_t, const char*, void*>(o, s, 1, "m", nullptr); }},
       {"AddControlMIDINode", [](void* o, int s)
        { CallSlot<R, uint32_t, int32_t, const char*, uint32_t>(o, s, 1, 0, "c", 1); }}});
  AAX_CPropertyValue v = 0;
  const void* ptr = nullptr;
  const AAX_SPlugInIdentifierTriad* ids = nullptr;
  uint32_t n = 0;
  CheckSlots(
      host, AAXCompID_AAXPropertyMap, IID_IAAXPropertyMapV3,
      {{"GetProperty",
        [&](void* o, int s) { CallSlot<B, P, AAX_CPropertyValue*>(o, s, P(1), &v); }},
       {"AddProperty", [](void* o, int s) { CallSlot<R, P, AAX_CPropertyValue>(o, s, P(1), 2); }},
       {"RemoveProperty", [](void* o, int s) { CallSlot<R, P>(o, s, P(1)); }},
       {"AddPropertyWithIDArray",
        [](void* o, int s) { CallSlot<R, P, const void*, uint32_t>(o, s, P(2), nullptr, 0); }},
       {"GetPropertyWithIDArray", [&](void* o, int s)
        { CallSlot<B, P, const AAX_SPlugInIdentifierTriad**, uint32_t*>(o, s, P(2), &ids, &n); }},
       {"AddPointerProperty",
        [](void* o, int s) { CallSlot<R, P, const void*>(o, s, P(36), nullptr); }},
       {"GetPointerProperty",
        [&](void* o, int s) { CallSlot<B, P, const void**>(o, s, P(36), &ptr); }}});
}

TEST(DescriptionSlots, ComponentDescriptorOperationsStandAtTheirSlots)
{
  StandInHost host;
  auto field = [](void* o, int s) { CallSlot<R, F>(o, s, 0); };
  auto field2 = [](void* o, int s) { CallSlot<R, F, uint32_t>(o, s, 0, 1); };
  auto field3 = [](void* o, int s) { CallSlot<R, F, int32_t, uint32_t>(o, s, 0, 1, 0); };
  CheckSlots(host, AAXCompID_AAXComponentDescriptor, IID_IAAXComponentDescriptorV3,
             {{"Clear", [](void* o, int s) { CallSlot<R>(o, s); }},
              {"AddAudioIn", field},
              {"AddAudioOut", field},
              {"AddAudioBufferLength", field},
              {"AddSampleRate", field},
              {"AddClock", field},
              {"AddSideChainIn", field},
              {"AddDataInPort", field3},
              {"AddAuxOutputStem",
               [](void* o, int s) { CallSlot<R, F, int32_t, const char*>(o, s, 0, 1, "a"); }},
              {"AddPrivateData", field3},
              {"AddDmaInstance", field2},
              {"AddMeters",
               [](void* o, int s) { CallSlot<R, F, const void*, uint32_t>(o, s, 0, nullptr, 0); }},
              {"AddMIDINode", [](void* o, int s)
               { CallSlot<R, F, int32_t, const char*, uint32_t>(o, s, 0, 0, "m", 1); }},
              {"AddReservedField", field2},
              {"AddProcessProc_Native",
               [](void* o, int s)
               {
                 CallSlot<R, void*, void*, void*, void*, void*>(o, s, nullptr, nullptr, nullptr,
                                                                nullptr, nullptr);
               }},
              {"AddProcessProc_TI",
               [](void* o, int s)
               {
                 CallSlot<R, const char*, const char*, void*, const char*, const char*, void*>(
                     o, s, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
               }},
              {"AddTemporaryData", field2},
              {"AddProcessProc", [](void* o, int s)
               { CallSlot<R, void*, void*, int32_t>(o, s, nullptr, nullptr, 0); }}});
}

TEST(DescriptionSlots, DescriptionHostAndFeatureInfoOperationsStandAtTheirSlots)
{
  StandInHost host;
  const acfUID feature = {1, 2, 3, {4}};
  IACFUnknown* info = nullptr;
  CheckSlots(host, AAX_CompID_DescriptionHost, IID_IAAXDescriptionHostV1,
             {{"AcquireFeatureProperties", [&](void* o, int s)
               { CallSlot<R, const acfUID&, IACFUnknown**>(o, s, feature, &info); }}});
  ASSERT_NE(info, nullptr);
  HostFeatureInfo* hostInfo = HostComponentOf<HostFeatureInfo>(info);
  ASSERT_NE(hostInfo, nullptr);
  AAX_ESupportLevel level{};
  IACFUnknown* props = nullptr;
  void* iface = nullptr;
  ASSERT_EQ(info->QueryInterface(IID_IAAXFeatureInfoV1, &iface), 0);
  CallSlot<R, AAX_ESupportLevel*>(iface, 3, &level);
  EXPECT_EQ(hostInfo->Calls().Last().op, "SupportLevel");
  CallSlot<R, IACFUnknown**>(iface, 4, &props);
  EXPECT_EQ(hostInfo->Calls().Last().op, "AcquireProperties");
  static_cast<IACFUnknown*>(iface)->Release();
  info->Release();
}
