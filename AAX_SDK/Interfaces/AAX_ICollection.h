// AAX_ICollection: the module's view of the host collection it describes its
// effects into; AAX_VCollection implements it.
#pragma once

#include "AAX.h"
#include "AAX_IDescriptionHost.h"
#include "AAX_IEffectDescriptor.h"
#include "AAX_IPropertyMap.h"

// Results: 0 or a failure code (-20004 without the host interface).
// Descriptors and maps returned are owned by the collection.
// Thread: [host] (registration only).
class AAX_ICollection
{
public:
  virtual ~AAX_ICollection() {}

  // A new effect descriptor owned by the collection (never null).
  virtual AAX_IEffectDescriptor* NewDescriptor() = 0;
  // -20004 also for a null descriptor.
  virtual AAX_Result AddEffect(const char* inEffectID,
                               AAX_IEffectDescriptor* inEffectDescriptor) = 0;
  virtual AAX_Result SetManufacturerName(const char* inPackageName) = 0;
  virtual AAX_Result AddPackageName(const char* inPackageName) = 0;
  virtual AAX_Result SetPackageVersion(uint32_t inVersion) = 0;
  // A new, empty property map owned by the collection (never null).
  virtual AAX_IPropertyMap* NewPropertyMap() = 0;
  virtual AAX_Result SetProperties(AAX_IPropertyMap* inProperties) = 0;
  // The description host when the host supports one, else null (borrowed).
  virtual const AAX_IDescriptionHost* DescriptionHost() const = 0;
  // The host's definition interface (borrowed), or null.
  virtual IACFDefinition* HostDefinition() const = 0;
};
