// A small AAX module for the loader's tests: one effect described through the
// description wrappers, a creation procedure whose objects count as live, and
// (built as FailingModule) a description that fails.
#include "ACF/CACFUnknown.h"
#include "AAX_Errors.h"
#include "AAX_ICollection.h"
#include "AAX_Init.h"

namespace
{
constexpr uint32_t CC(const char (&s)[5])
{
  return (uint32_t(uint8_t(s[0])) << 24) | (uint32_t(uint8_t(s[1])) << 16) |
         (uint32_t(uint8_t(s[2])) << 8) | uint32_t(uint8_t(s[3]));
}

class TestObject final : public CACFUnknown
{
public:
  // The host's reference is the first one.
  static IACFUnknown* Create()
  {
    IACFUnknown* unknown = (new TestObject())->GetPrivateUnknown();
    unknown->AddRef();
    return unknown;
  }
};

void Render(void* const[], const void*) {}
} // namespace

AAX_Result GetEffectDescriptions(AAX_ICollection* collection)
{
#ifdef QV_TEST_MODULE_FAIL
  constexpr bool kFail = true;
#else
  constexpr bool kFail = false;
#endif
  AAX_IEffectDescriptor* effect = collection->NewDescriptor();
  AAX_Result err = effect->AddName("Test Module");
  err |= effect->AddCategory(512);
  AAX_IComponentDescriptor* component = effect->NewComponentDescriptor();
  err |= component->AddAudioIn(0);
  err |= component->AddAudioOut(1);
  err |= component->AddPrivateData(8, 8, 0);
  AAX_IPropertyMap* props = component->NewPropertyMap();
  err |= props->AddProperty(AAX_eProperty_ManufacturerID, int32_t(CC("Ovtn")));
  err |= props->AddProperty(AAX_eProperty_PlugInID_Native, int32_t(CC("TSN1")));
  err |= props->AddPointerProperty(AAX_eProperty_NativeProcessProc,
                                   reinterpret_cast<const void*>(&Render));
  err |= component->AddProcessProc(props, nullptr, 0);
  err |= effect->AddComponent(component);
  err |= effect->AddProcPtr(reinterpret_cast<void*>(&TestObject::Create), 0);
  if (err == AAX_SUCCESS) err = collection->AddEffect("com.orvantine.aax.testmodule", effect);
  collection->SetManufacturerName("Orvantine");
  collection->SetPackageVersion(0x00010000);
  return kFail ? AAX_Result(AAX_ERROR_INVALID_ARGUMENT) : err;
}
