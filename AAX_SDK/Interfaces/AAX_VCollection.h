// AAX_VCollection: forwards AAX_ICollection to the host collection, version 1
// (missing → -20004), owns the effect descriptors and property maps it makes
// and holds the description host of the same host unknown.
// Thread: [host] (registration only).
#pragma once

#include "ACF/ACFPtr.h"
#include "AAX_IACFCollection.h"
#include "AAX_ICollection.h"
#include "AAX_VDescriptionHost.h"
#include "AAX_VEffectDescriptor.h"
#include "AAX_VPropertyMap.h"

#include <memory>
#include <vector>

class AAX_VCollection : public AAX_ICollection
{
public:
  // Creates the host collection through the factory of inHostUnknown
  // (borrowed, must outlive the wrapper). Without a factory the wrapper is
  // empty and every operation answers -20004.
  explicit AAX_VCollection(IACFUnknown* inHostUnknown);
  // Deletes every descriptor and map it made, then releases its interfaces.
  ~AAX_VCollection() override;

  AAX_IEffectDescriptor* NewDescriptor() override;
  AAX_Result AddEffect(const char* inEffectID, AAX_IEffectDescriptor* inEffectDescriptor) override;
  AAX_Result SetManufacturerName(const char* inPackageName) override;
  AAX_Result AddPackageName(const char* inPackageName) override;
  AAX_Result SetPackageVersion(uint32_t inVersion) override;
  AAX_IPropertyMap* NewPropertyMap() override;
  AAX_Result SetProperties(AAX_IPropertyMap* inProperties) override;
  const AAX_IDescriptionHost* DescriptionHost() const override;
  IACFDefinition* HostDefinition() const override;

  // The host collection interface (borrowed), or null.
  IACFUnknown* GetIUnknown() const { return mIACFCollection.get(); }

  AAX_VCollection(const AAX_VCollection&) = delete;
  AAX_VCollection& operator=(const AAX_VCollection&) = delete;

private:
  IACFUnknown* mHostUnknown;
  AAX_VDescriptionHost mDescriptionHost;
  ACFPtr<AAX_IACFCollection> mIACFCollection;
  std::vector<std::unique_ptr<AAX_VEffectDescriptor>> mEffectDescriptors;
  std::vector<std::unique_ptr<AAX_VPropertyMap>> mPropertyMaps;
};
