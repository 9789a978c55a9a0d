// Host property-map interfaces, versions 1 to 3: numeric, identifier-array
// and pointer properties of a description element.
#pragma once

#include "ACF/acfunknown.h"
#include "AAX.h"
#include "AAX_DescriptionTypes.h"

// Contract: Get* answer true (1) and write the value when the property is
// present, false and nothing otherwise; Add*/Remove* return 0 or a host
// failure code (Add replaces an existing value). Arrays are copied.
// Thread: [host] (registration only).
class AAX_IACFPropertyMap : public IACFUnknown
{
public:
  virtual AAX_CBoolean GetProperty(AAX_EProperty inProperty,                //
                                   AAX_CPropertyValue* outValue) const = 0; // 3
  virtual AAX_Result AddProperty(AAX_EProperty inProperty,                  //
                                 AAX_CPropertyValue inValue) = 0;           // 4
  virtual AAX_Result RemoveProperty(AAX_EProperty inProperty) = 0;          // 5

protected:
  ~AAX_IACFPropertyMap() = default;
};

class AAX_IACFPropertyMap_V2 : public AAX_IACFPropertyMap
{
public:
  virtual AAX_Result AddPropertyWithIDArray(AAX_EProperty inProperty,                      //
                                            const AAX_SPlugInIdentifierTriad* inPluginIDs, //
                                            uint32_t inNumPluginIDs) = 0;                  // 6
  // The array stays the map's; valid until the property changes.
  virtual AAX_CBoolean GetPropertyWithIDArray(AAX_EProperty inProperty,                        //
                                              const AAX_SPlugInIdentifierTriad** outPluginIDs, //
                                              uint32_t* outNumPluginIDs) const = 0;            // 7

protected:
  ~AAX_IACFPropertyMap_V2() = default;
};

class AAX_IACFPropertyMap_V3 : public AAX_IACFPropertyMap_V2
{
public:
  virtual AAX_Result AddPointerProperty(AAX_EProperty inProperty, const void* inValue) = 0; // 8
  virtual AAX_CBoolean GetPointerProperty(AAX_EProperty inProperty,                         //
                                          const void** outValue) const = 0;                 // 9

protected:
  ~AAX_IACFPropertyMap_V3() = default;
};
