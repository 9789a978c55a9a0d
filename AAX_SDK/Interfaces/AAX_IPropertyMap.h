// AAX_IPropertyMap: the module's view of a property map of the effect
// description; AAX_VPropertyMap implements it over the host's map.
#pragma once

#include "ACF/acfunknown.h"
#include "AAX.h"
#include "AAX_DescriptionTypes.h"

// Thread: [host] (registration only).
class AAX_IPropertyMap
{
public:
  virtual ~AAX_IPropertyMap() {}

  // True and *outValue written when the property is present.
  virtual AAX_CBoolean GetProperty(AAX_EProperty inProperty,
                                   AAX_CPropertyValue* outValue) const = 0;
  // 0, or a failure code (-20004 without a host map).
  virtual AAX_Result AddProperty(AAX_EProperty inProperty, AAX_CPropertyValue inValue) = 0;
  virtual AAX_Result RemoveProperty(AAX_EProperty inProperty) = 0;
  virtual AAX_Result AddPropertyWithIDArray(AAX_EProperty inProperty,
                                            const AAX_SPlugInIdentifierTriad* inPluginIDs,
                                            uint32_t inNumPluginIDs) = 0;
  virtual AAX_CBoolean GetPropertyWithIDArray(AAX_EProperty inProperty,
                                              const AAX_SPlugInIdentifierTriad** outPluginIDs,
                                              uint32_t* outNumPluginIDs) const = 0;
  virtual AAX_Result AddPointerProperty(AAX_EProperty inProperty, const void* inValue) = 0;
  virtual AAX_CBoolean GetPointerProperty(AAX_EProperty inProperty,
                                          const void** outValue) const = 0;
  // The host map interface to pass to the host (borrowed), or null.
  virtual IACFUnknown* GetIUnknown() const = 0;
};
