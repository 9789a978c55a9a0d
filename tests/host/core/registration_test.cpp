// Registration and the other entry points, in-process: the description a
// module gives becomes the host's plug-in definition, failures and exceptions
// come back as AAX codes with their trace, and the fixed answers of the
// remaining entry points.
#include "StandInHost.h"

#include "ACF/CACFUnknown.h"
#include "ACF/acfuids.h"
#include "AAX_CHostServices.h"
#include "AAX_Exception.h"
#include "AAX_ICollection.h"
#include "AAX_Init.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

using namespace aaxhost;

namespace
{
std::function<AAX_Result(AAX_ICollection*)> gDescribe;

void RenderNothing(void* const[], const void*) {}

AAX_Result DescribeOneEffect(AAX_ICollection* collection)
{
  AAX_IEffectDescriptor* effect = collection->NewDescriptor();
  AAX_IComponentDescriptor* component = effect->NewComponentDescriptor();
  AAX_Result err = component->AddAudioIn(0);
  err |= component->AddProcessProc_Native(&RenderNothing, nullptr, nullptr, nullptr, nullptr);
  err |= effect->AddComponent(component);
  err |= effect->AddName("Test");
  return err | collection->AddEffect("com.example.test", effect);
}

struct Started
{
  explicit Started(StandInHost& host) : mHost(host) { ACFStartup(host.Unknown()); }
  ~Started() { ACFShutdown(mHost.Unknown()); }
  StandInHost& mHost;
};

// Registers with gDescribe = describe; the out pointer starts as garbage.
ACFRESULT Register(StandInHost& host, std::function<AAX_Result(AAX_ICollection*)> describe,
                   IACFPluginDefinition*& definition)
{
  gDescribe = std::move(describe);
  definition = reinterpret_cast<IACFPluginDefinition*>(0x1);
  const ACFRESULT r = ACFRegisterPlugin(host.Unknown(), &definition);
  gDescribe = nullptr;
  return r;
}
} // namespace

// The module's description, here the test's.
AAX_Result GetEffectDescriptions(AAX_ICollection* outCollection)
{
  return gDescribe ? gDescribe(outCollection) : AAX_ERROR_UNIMPLEMENTED;
}

TEST(Registration, HandsTheHostCollectionsPluginDefinitionBack)
{
  StandInHost host;
  Started started(host);
  IACFPluginDefinition* definition = nullptr;
  ASSERT_EQ(Register(host, DescribeOneEffect, definition), 0);
  ASSERT_NE(definition, nullptr);
  HostCollection* collection = HostComponentOf<HostCollection>(definition);
  ASSERT_NE(collection, nullptr);
  EXPECT_EQ(collection->Snapshot().effects.at(0).id, "com.example.test");
  // The wrappers are gone: only the host's own reference and the definition's remain.
  EXPECT_EQ(collection->RefCount(), 2u);
  definition->Release();
}

TEST(Registration, FailedDescriptionReturnsItsCodeLeavesNullAndTraces)
{
  StandInHost host;
  Started started(host);
  IACFPluginDefinition* definition = nullptr;
  EXPECT_EQ(
      Register(
          host, [](AAX_ICollection*) { return AAX_Result(AAX_ERROR_NULL_OBJECT); }, definition),
      AAX_ERROR_NULL_OBJECT);
  EXPECT_EQ(definition, nullptr);
  const std::vector<TraceRecord> traces = host.Services()->Traces();
  ASSERT_FALSE(traces.empty());
  EXPECT_EQ(traces.back().priority, 0x08000000);
  EXPECT_EQ(traces.back().message,
            "AAXRegisterPlugin exception caught: AAX_ERROR_NULL_OBJECT (-20004)");
}

TEST(Registration, HostWithoutComponentFactoryFailsWithNullObject)
{
  StandInHost services; // only for the traces
  Started started(services);
  HostConfig config;
  config.componentFactory = false;
  StandInHost host(config);
  IACFPluginDefinition* definition = nullptr;
  EXPECT_EQ(Register(host, DescribeOneEffect, definition), AAX_ERROR_NULL_OBJECT);
  EXPECT_EQ(definition, nullptr);
  EXPECT_EQ(services.Services()->Traces().back().message,
            "AAXRegisterPlugin exception caught: AAX_ERROR_NULL_OBJECT (-20004)");
}

TEST(Registration, ExceptionsBecomeUnknownExceptionWithTheirText)
{
  StandInHost host;
  Started started(host);
  IACFPluginDefinition* definition = nullptr;
  struct Case
  {
    std::function<AAX_Result(AAX_ICollection*)> describe;
    const char* trace;
  };
  const Case cases[] = {
      {[](AAX_ICollection*) -> AAX_Result { throw AAX::Exception::Any("broken"); },
       "AAXRegisterPlugin exception caught: broken"},
      {[](AAX_ICollection*) -> AAX_Result { throw std::runtime_error("std broken"); },
       "AAXRegisterPlugin exception caught: std broken"},
      {[](AAX_ICollection*) -> AAX_Result { throw 7; },
       "AAXRegisterPlugin exception caught: unknown"},
  };
  for (const Case& c : cases)
  {
    EXPECT_EQ(Register(host, c.describe, definition), AAX_ERROR_UNKNOWN_EXCEPTION) << c.trace;
    EXPECT_EQ(definition, nullptr);
    EXPECT_EQ(host.Services()->Traces().back().message, c.trace);
  }
}

TEST(EntryPoints, FixedAnswers)
{
  StandInHost host;
  acfUInt64 version = 0;
  EXPECT_EQ(ACFGetSDKVersion(&version), 0);
  EXPECT_EQ(version, 0x0000020300D5E5B4ull);
  EXPECT_EQ(ACFGetSDKVersion(nullptr), AAX_ERROR_NULL_ARGUMENT);
  void* factory = &version;
  EXPECT_EQ(ACFGetClassFactory(host.Unknown(), IID_IACFUnknown, IID_IACFUnknown, &factory),
            AAX_ERROR_UNIMPLEMENTED);
  EXPECT_EQ(factory, nullptr);
  IACFComponentDefinition* component = reinterpret_cast<IACFComponentDefinition*>(0x1);
  EXPECT_EQ(ACFRegisterComponent(host.Unknown(), 0, &component), 0);
  EXPECT_EQ(component, nullptr);
  EXPECT_EQ(ACFRegisterPlugin(host.Unknown(), nullptr), AAX_ERROR_NULL_ARGUMENT);
}

TEST(EntryPoints, CanUnloadNowCountsLiveObjects)
{
  StandInHost host;
  const ACFRESULT before = ACFCanUnloadNow(host.Unknown());
  {
    CACFUnknown a, b;
    EXPECT_EQ(ACFCanUnloadNow(host.Unknown()), before + 2);
  }
  EXPECT_EQ(ACFCanUnloadNow(host.Unknown()), before);
}
