// The description wrappers talking to the stand-in host's description
// components: what is described lands in the host's model, missing components
// and versions give the fixed results, the process-procedure fallback of older
// hosts, the stem-format check, and every host reference is released.
#include "StandInHost.h"

#include "AAX_CHostServices.h"
#include "AAX_Errors.h"
#include "AAX_VCollection.h"

#include <gtest/gtest.h>

using namespace aaxhost;

namespace
{
void RenderNothing(void* const[], const void*) {}
int32_t InitNothing(const void*, int32_t) { return 0; }

struct Started
{
  explicit Started(StandInHost& host) { AAX_CHostServices::Set(host.Unknown()); }
  ~Started() { AAX_CHostServices::Set(nullptr); }
};

HostConfig FirstDescriptionVersionsOnly()
{
  HostConfig c;
  c.effectDescriptor = 1;
  c.componentDescriptor = 1;
  c.propertyMap = 1;
  return c;
}

// A four-character code, first character most significant.
constexpr int32_t CC(const char (&s)[5])
{
  return int32_t((uint32_t(uint8_t(s[0])) << 24) | (uint32_t(uint8_t(s[1])) << 16) |
                 (uint32_t(uint8_t(s[2])) << 8) | uint32_t(uint8_t(s[3])));
}

const void* Ptr(AAX_CProcessProc p) { return reinterpret_cast<const void*>(p); }
} // namespace

TEST(DescriptionWrappers, WhatIsDescribedLandsInTheHostsModelAndEveryReferenceIsReleased)
{
  const int before = Component::LiveComponents();
  {
    StandInHost host;
    {
      AAX_VCollection collection(host.Unknown());
      AAX_IEffectDescriptor* effect = collection.NewDescriptor();
      ASSERT_NE(effect, nullptr);
      EXPECT_EQ(effect->AddName("Long name"), 0);
      EXPECT_EQ(effect->AddCategory(512), 0);
      AAX_IComponentDescriptor* component = effect->NewComponentDescriptor();
      EXPECT_EQ(component->AddAudioIn(0), 0);
      EXPECT_EQ(component->AddPrivateData(8, 8, 0), 0);
      EXPECT_EQ(component->AddMIDINode(7, AAX_EMIDINodeType(3), "Transport", 0xFFFF), 0);
      AAX_IPropertyMap* props = component->NewPropertyMap();
      EXPECT_EQ(props->AddProperty(AAX_eProperty_PlugInID_Native, CC("EFN1")), 0);
      EXPECT_EQ(props->AddPointerProperty(AAX_eProperty_NativeProcessProc, Ptr(&RenderNothing)), 0);
      AAX_CSelector ids[3] = {9, 9, 9};
      EXPECT_EQ(component->AddProcessProc(props, ids, 3), 0); // through the host's version 3
      EXPECT_NE(ids[0], 0u);
      EXPECT_EQ(ids[1], 0u);
      EXPECT_EQ(effect->AddComponent(component), 0);
      EXPECT_EQ(effect->AddProcPtr(reinterpret_cast<void*>(&InitNothing), 1), 0);
      EXPECT_EQ(collection.AddEffect("com.example.effect", effect), 0);
      EXPECT_EQ(collection.SetManufacturerName("Maker"), 0);
      EXPECT_EQ(collection.SetPackageVersion(0x00010000), 0);
      ASSERT_NE(collection.DescriptionHost(), nullptr);
      EXPECT_NE(collection.HostDefinition(), nullptr);
    }
    const Description d = host.LastDescription();
    ASSERT_EQ(d.effects.size(), 1u);
    const DescribedEffect& e = d.effects[0];
    EXPECT_EQ(e.id, "com.example.effect");
    EXPECT_EQ(e.names, std::vector<std::string>{"Long name"});
    EXPECT_EQ(e.categories, std::vector<uint32_t>{512});
    EXPECT_EQ(e.procPtrs.at(1), reinterpret_cast<void*>(&InitNothing));
    ASSERT_EQ(e.components.size(), 1u);
    const DescribedComponent& c = e.components[0];
    ASSERT_EQ(c.fields.size(), 3u);
    EXPECT_EQ(c.Field(8)->kind, "PrivateData");
    EXPECT_EQ(c.Field(8)->numbers, (std::vector<int64_t>{8, 0}));
    EXPECT_EQ(c.Field(7)->name, "Transport");
    ASSERT_EQ(c.processProcs.size(), 1u);
    EXPECT_EQ(c.processProcs[0].process, &RenderNothing);
    EXPECT_EQ(c.processProcs[0].properties.Value(13), CC("EFN1"));
    EXPECT_EQ(d.manufacturerNames, std::vector<std::string>{"Maker"});
    EXPECT_EQ(d.packageVersion, 0x00010000u);
  }
  EXPECT_EQ(Component::LiveComponents(), before);
}

TEST(DescriptionWrappers, HostWithoutComponentFactoryAnswersNullObjectEverywhere)
{
  HostConfig config;
  config.componentFactory = false;
  config.descriptionHost = 0;
  StandInHost host(config);
  AAX_VCollection collection(host.Unknown());
  AAX_IEffectDescriptor* effect = collection.NewDescriptor();
  ASSERT_NE(effect, nullptr); // an empty wrapper, so description goes on and reports
  AAX_IComponentDescriptor* component = effect->NewComponentDescriptor();
  AAX_IPropertyMap* props = component->NewPropertyMap();
  const AAX_Result null = AAX_ERROR_NULL_OBJECT;
  EXPECT_EQ(collection.AddPackageName("x"), null);
  EXPECT_EQ(collection.SetPackageVersion(1), null);
  EXPECT_EQ(collection.AddEffect("id", effect), null);
  EXPECT_EQ(collection.AddEffect("id", nullptr), null);
  EXPECT_EQ(effect->AddName("x"), null);
  EXPECT_EQ(effect->AddProcPtr(reinterpret_cast<void*>(&InitNothing), 0), null);
  EXPECT_EQ(effect->AddComponent(component), null);
  EXPECT_EQ(component->AddAudioIn(0), null);
  EXPECT_EQ(component->AddMeters(9, nullptr, 0), null);
  EXPECT_EQ(component->AddProcessProc_Native(&RenderNothing, props, nullptr, nullptr, nullptr),
            null);
  EXPECT_EQ(component->AddProcessProc(props, nullptr, 0), null);
  EXPECT_EQ(props->AddProperty(AAX_eProperty_InputStemFormat, 0x00010002), null);
  AAX_CPropertyValue v = 0;
  EXPECT_FALSE(props->GetProperty(AAX_eProperty_InputStemFormat, &v));
  EXPECT_EQ(props->GetIUnknown(), nullptr);
  EXPECT_EQ(collection.DescriptionHost(), nullptr);
}

TEST(DescriptionWrappers, LaterVersionsMissingAnswerUnimplemented)
{
  StandInHost host(FirstDescriptionVersionsOnly());
  AAX_VCollection collection(host.Unknown());
  AAX_IEffectDescriptor* effect = collection.NewDescriptor();
  AAX_IComponentDescriptor* component = effect->NewComponentDescriptor();
  AAX_IPropertyMap* props = component->NewPropertyMap();
  const AAX_SPlugInIdentifierTriad triad{uint32_t(CC("Ovtn")), uint32_t(CC("ln0p")),
                                         uint32_t(CC("EFN1"))};
  EXPECT_EQ(effect->AddControlMIDINode(uint32_t(CC("ctl1")), AAX_EMIDINodeType(0), "c", 1),
            AAX_ERROR_UNIMPLEMENTED);
  EXPECT_EQ(component->AddTemporaryData(4, 16), AAX_ERROR_UNIMPLEMENTED);
  EXPECT_EQ(props->AddPropertyWithIDArray(AAX_EProperty(20), &triad, 1), AAX_ERROR_UNIMPLEMENTED);
  // Pointer properties: the procedure ones stay in the wrapper, others are refused.
  EXPECT_EQ(props->AddPointerProperty(AAX_eProperty_NativeProcessProc, Ptr(&RenderNothing)), 0);
  EXPECT_EQ(props->AddPointerProperty(AAX_EProperty(43), "x"), AAX_ERROR_UNIMPLEMENTED);
  const void* p = nullptr;
  EXPECT_TRUE(props->GetPointerProperty(AAX_eProperty_NativeProcessProc, &p));
  EXPECT_EQ(p, Ptr(&RenderNothing));
}

TEST(DescriptionWrappers, WithoutVersion3ProcessProceduresAreRegisteredThroughVersion1)
{
  StandInHost host(FirstDescriptionVersionsOnly());
  Started started(host);
  AAX_VEffectDescriptor effect(host.Unknown());
  AAX_IComponentDescriptor* component = effect.NewComponentDescriptor();
  AAX_IPropertyMap* props = component->NewPropertyMap();
  props->AddProperty(AAX_eProperty_PlugInID_AudioSuite, CC("EFA1"));
  props->AddProperty(AAX_eProperty_AudioBufferLength, 5);
  props->AddPointerProperty(AAX_eProperty_NativeProcessProc, Ptr(&RenderNothing));
  props->AddPointerProperty(AAX_eProperty_NativeInstanceInitProc,
                            reinterpret_cast<const void*>(&InitNothing));

  AAX_CSelector ids[2] = {7, 7};
  EXPECT_EQ(component->AddProcessProc(props, ids, 1), AAX_ERROR_ARGUMENT_BUFFER_OVERFLOW);
  EXPECT_EQ(component->AddProcessProc(props, ids, 2), 0);
  EXPECT_NE(ids[0], 0u);
  EXPECT_EQ(ids[1], 0u);
  ASSERT_EQ(effect.AddComponent(component), 0);
  ASSERT_EQ(effect.AddName("n"), 0);

  HostEffectDescriptor* hostEffect = HostComponentOf<HostEffectDescriptor>(effect.GetIUnknown());
  const DescribedComponent c = hostEffect->Snapshot().components.at(0);
  ASSERT_EQ(c.processProcs.size(), 2u); // the overflowing call registered too
  const DescribedProcessProc& proc = c.processProcs[1];
  EXPECT_EQ(proc.id, ids[0]);
  EXPECT_EQ(proc.process, &RenderNothing);
  EXPECT_EQ(proc.instanceInit, &InitNothing);
  EXPECT_EQ(proc.background, nullptr);
  // The host got a copy without the buffer length; the caller's map keeps it.
  EXPECT_FALSE(proc.properties.Has(54));
  EXPECT_EQ(proc.properties.Value(14), CC("EFA1"));
  AAX_CPropertyValue v = 0;
  EXPECT_TRUE(props->GetProperty(AAX_eProperty_AudioBufferLength, &v));
  EXPECT_TRUE(host.Services()->Asserts().empty());
}

TEST(DescriptionWrappers, FallbackTracesMissingProceduresAndStopsAtTheFirstFailure)
{
  StandInHost host(FirstDescriptionVersionsOnly());
  Started started(host);
  AAX_VComponentDescriptor component(host.Unknown());
  AAX_IPropertyMap* props = component.NewPropertyMap();
  props->AddProperty(AAX_eProperty_PlugInID_Native, CC("EFN1"));
  props->AddProperty(AAX_eProperty_PlugInID_TI, CC("EFT1"));
  // No procedure: the host refuses the native registration, so TI is not tried.
  EXPECT_EQ(component.AddProcessProc(props, nullptr, 0), AAX_ERROR_NULL_ARGUMENT);
  const std::vector<TraceRecord> traces = host.Services()->Traces();
  ASSERT_EQ(traces.size(), 1u);
  EXPECT_EQ(traces[0].priority, 0x08000000);
  EXPECT_EQ(traces[0].message, "AAX_VComponentDescriptor: ManuallyAddProcessProcs() - no value "
                               "found for AAX_eProperty_NativeProcessProc");

  AAX_IPropertyMap* tiOnly = component.NewPropertyMap();
  tiOnly->AddProperty(AAX_eProperty_PlugInID_TI, CC("EFT1"));
  tiOnly->AddPointerProperty(AAX_eProperty_TIDLLFileName, "dsp.dll");
  EXPECT_EQ(component.AddProcessProc(tiOnly, nullptr, 0), AAX_ERROR_NULL_ARGUMENT);
  EXPECT_EQ(host.Services()->Traces().back().message,
            "AAX_VComponentDescriptor: ManuallyAddProcessProcs() - no value found for "
            "AAX_eProperty_TIProcessProc");
  tiOnly->AddPointerProperty(AAX_eProperty_TIProcessProc, "Process");
  AAX_CSelector ids[2];
  EXPECT_EQ(component.AddProcessProc(tiOnly, ids, 2), 0);
  const DescribedComponent c =
      HostComponentOf<HostComponentDescriptor>(component.GetIUnknown())->Snapshot();
  ASSERT_EQ(c.processProcs.size(), 1u);
  EXPECT_FALSE(c.processProcs[0].native);
  EXPECT_EQ(c.processProcs[0].tiProcess, "Process");
  EXPECT_EQ(c.processProcs[0].id, ids[0]);
}

TEST(DescriptionWrappers, StemFormatsOutsideTheKnownLayoutsAreRefusedWithoutDescriptionHost)
{
  HostConfig config;
  config.descriptionHost = 0;
  StandInHost host(config);
  AAX_VCollection collection(host.Unknown());
  AAX_IPropertyMap* props = collection.NewPropertyMap();
  HostPropertyMap* hostMap = HostComponentOf<HostPropertyMap>(props->GetIUnknown());
  ASSERT_NE(hostMap, nullptr);
  EXPECT_EQ(props->AddProperty(AAX_eProperty_InputStemFormat, 0x000D0002),
            AAX_ERROR_PROPERTY_UNDEFINED);
  EXPECT_EQ(props->AddProperty(AAX_eProperty_OutputStemFormat, int32_t(0xFFFE0002)),
            AAX_ERROR_PROPERTY_UNDEFINED);
  EXPECT_EQ(hostMap->Calls().Size(), 0u); // refused before the host saw it
  EXPECT_EQ(props->AddProperty(AAX_eProperty_OutputStemFormat, 0x000C0008), 0);
  EXPECT_EQ(props->AddProperty(AAX_eProperty_InputStemFormat, int32_t(0xFFFF0000)), 0);
  EXPECT_EQ(props->AddProperty(AAX_eProperty_InputStemFormat, int32_t(0xFF9C0000)), 0);
  EXPECT_EQ(props->AddProperty(AAX_EProperty(56), 0x000D0002), 0); // other properties pass

  StandInHost withHost;
  AAX_VCollection collection2(withHost.Unknown());
  EXPECT_EQ(collection2.NewPropertyMap()->AddProperty(AAX_eProperty_InputStemFormat, 0x000D0002),
            0);
}

TEST(DescriptionWrappers, FeatureInformationComesFromTheDescriptionHost)
{
  StandInHost host;
  const acfUID feature = {0x12345678, 1, 2, {1, 2, 3, 4, 5, 6, 7, 8}};
  FeatureState state;
  state.supportLevel = AAX_ESupportLevel(2);
  state.hasProperties = true;
  state.properties.values[3] = 44;
  host.DescriptionHost()->SetFeature(feature, state);

  AAX_VCollection collection(host.Unknown());
  const AAX_IDescriptionHost* dh = collection.DescriptionHost();
  ASSERT_NE(dh, nullptr);
  std::unique_ptr<const AAX_IFeatureInfo> info = dh->AcquireFeatureProperties(feature);
  ASSERT_NE(info, nullptr);
  EXPECT_EQ(info->ID(), feature);
  AAX_ESupportLevel level{};
  EXPECT_EQ(info->SupportLevel(level), 0);
  EXPECT_EQ(level, 2);
  std::unique_ptr<const AAX_IPropertyMap> props = info->AcquireProperties();
  ASSERT_NE(props, nullptr);
  AAX_CPropertyValue v = 0;
  EXPECT_TRUE(props->GetProperty(AAX_EProperty(3), &v));
  EXPECT_EQ(v, 44);

  const acfUID unknown = {1, 1, 1, {0}};
  std::unique_ptr<const AAX_IFeatureInfo> none = dh->AcquireFeatureProperties(unknown);
  ASSERT_NE(none, nullptr);
  EXPECT_EQ(none->SupportLevel(level), 0);
  EXPECT_EQ(level, 0);
  EXPECT_EQ(none->AcquireProperties(), nullptr);
}
