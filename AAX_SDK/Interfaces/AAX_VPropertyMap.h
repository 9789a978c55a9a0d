// AAX_VPropertyMap: forwards AAX_IPropertyMap to a host property map,
// versions 1 to 3. Missing version 1 → -20004 (false for queries), missing
// version 2 → -20009. Without version 3 the process-procedure pointer
// properties (36..42) are kept here; other pointer properties → -20009.
// Thread: [host] (registration only).
#pragma once

#include "ACF/ACFPtr.h"
#include "AAX_IACFDescriptionHost.h"
#include "AAX_IACFPropertyMap.h"
#include "AAX_IPropertyMap.h"

#include <map>
#include <set>

class AAX_VPropertyMap : public AAX_IPropertyMap
{
public:
  // A new host map made by the component factory of inHostUnknown (borrowed).
  // Without a factory or map the wrapper is empty and answers -20004.
  static AAX_VPropertyMap* Create(IACFUnknown* inHostUnknown);
  // Wraps a host map the caller holds (for example a feature's properties);
  // the wrapper takes references of its own.
  static AAX_VPropertyMap* Acquire(IACFUnknown* inPropertyMapUnknown);
  ~AAX_VPropertyMap() override;

  AAX_CBoolean GetProperty(AAX_EProperty inProperty, AAX_CPropertyValue* outValue) const override;
  // Without a description host, an input or output stem format (51, 52) whose
  // layout index lies outside 0..12 is refused with -20039 before the host
  // sees it (the two layout-less formats pass).
  AAX_Result AddProperty(AAX_EProperty inProperty, AAX_CPropertyValue inValue) override;
  AAX_Result RemoveProperty(AAX_EProperty inProperty) override;
  AAX_Result AddPropertyWithIDArray(AAX_EProperty inProperty,
                                    const AAX_SPlugInIdentifierTriad* inPluginIDs,
                                    uint32_t inNumPluginIDs) override;
  AAX_CBoolean GetPropertyWithIDArray(AAX_EProperty inProperty,
                                      const AAX_SPlugInIdentifierTriad** outPluginIDs,
                                      uint32_t* outNumPluginIDs) const override;
  AAX_Result AddPointerProperty(AAX_EProperty inProperty, const void* inValue) override;
  AAX_CBoolean GetPointerProperty(AAX_EProperty inProperty, const void** outValue) const override;
  // Version 3, else 2, else 1; null when empty.
  IACFUnknown* GetIUnknown() const override;

  // Adds to ioTarget every property set through this wrapper and still
  // present (the host offers no way to list a map). 0 or the first failure.
  AAX_Result CopyTo(AAX_IPropertyMap& ioTarget) const;

  AAX_VPropertyMap(const AAX_VPropertyMap&) = delete;
  AAX_VPropertyMap& operator=(const AAX_VPropertyMap&) = delete;

private:
  AAX_VPropertyMap() = default;
  void AcquireInterfaces(IACFUnknown* inMapUnknown);
  bool KeptLocally(AAX_EProperty inProperty) const;

  ACFPtr<AAX_IACFPropertyMap> mIACFPropertyMap;
  ACFPtr<AAX_IACFPropertyMap_V2> mIACFPropertyMapV2;
  ACFPtr<AAX_IACFPropertyMap_V3> mIACFPropertyMapV3;
  ACFPtr<AAX_IACFDescriptionHost> mIACFDescriptionHost;
  std::map<int32_t, const void*> mLocalPointers;       // 36..42 when the host has no version 3
  std::set<int32_t> mValueIDs, mArrayIDs, mPointerIDs; // what was set through this wrapper
};
