// The stand-in host's property map (AAXCompID_AAXPropertyMap), versions 1 to 3.
#pragma once

#include "AAX_IACFPropertyMap.h"
#include "Description.h"
#include "HostComponent.h"

namespace aaxhost
{
class HostPropertyMap final : public AAX_IACFPropertyMap_V3, public Component
{
public:
  AAXHOST_DECLARE_UNKNOWN()

  explicit HostPropertyMap(int version = 3, const DescribedProperties& initial = {}); // 1..3

  AAX_CBoolean GetProperty(AAX_EProperty inProperty, AAX_CPropertyValue* outValue) const override;
  AAX_Result AddProperty(AAX_EProperty inProperty, AAX_CPropertyValue inValue) override;
  // AAX_ERROR_PROPERTY_UNDEFINED when nothing is stored under inProperty.
  AAX_Result RemoveProperty(AAX_EProperty inProperty) override;
  // A null array with a non-zero count: AAX_ERROR_NULL_ARGUMENT.
  AAX_Result AddPropertyWithIDArray(AAX_EProperty inProperty,
                                    const AAX_SPlugInIdentifierTriad* inPluginIDs,
                                    uint32_t inNumPluginIDs) override;
  AAX_CBoolean GetPropertyWithIDArray(AAX_EProperty inProperty,
                                      const AAX_SPlugInIdentifierTriad** outPluginIDs,
                                      uint32_t* outNumPluginIDs) const override;
  AAX_Result AddPointerProperty(AAX_EProperty inProperty, const void* inValue) override;
  AAX_CBoolean GetPointerProperty(AAX_EProperty inProperty, const void** outValue) const override;

  // A copy of everything stored. [any]
  DescribedProperties Snapshot() const;

private:
  ~HostPropertyMap() override = default;
  void* Answer(const acfIID& iid) override;

  const int mVersion;
  mutable std::mutex mMutex;
  DescribedProperties mProperties;
};

// The properties of the host map behind unk (empty when unk is null or not
// one of ours).
DescribedProperties PropertiesOf(IACFUnknown* unk);
} // namespace aaxhost
