// The stand-in host's collection (AAXCompID_AAXCollection), version 1: what
// a module describes during registration lands in its Description. It is also
// the plug-in definition the module hands back (IID_IACFPluginDefinition).
#pragma once

#include "AAX_IACFCollection.h"
#include "Description.h"
#include "HostDefinition.h"

namespace aaxhost
{
class HostCollection final : public AAX_IACFCollection,
                             public IACFPluginDefinition,
                             public Component
{
public:
  AAXHOST_DECLARE_UNKNOWN()
  AAXHOST_DECLARE_DEFINITION()

  HostCollection() = default;

  // Copies what the effect descriptor holds now. A null identifier:
  // AAX_ERROR_NULL_ARGUMENT; one already added: AAX_ERROR_DUPLICATE_EFFECT_ID;
  // a descriptor not ours: AAX_ERROR_NULL_OBJECT; an effect without
  // components: AAX_ERROR_NO_COMPONENTS.
  AAX_Result AddEffect(const char* inEffectID, IACFUnknown* inEffectDescriptor) override;
  // Null texts: AAX_ERROR_NULL_ARGUMENT.
  AAX_Result SetManufacturerName(const char* inPackageName) override;
  AAX_Result AddPackageName(const char* inPackageName) override;
  AAX_Result SetPackageVersion(uint32_t inVersion) override;
  AAX_Result SetProperties(IACFUnknown* inProperties) override;

  Description Snapshot() const; // [any]

private:
  ~HostCollection() override = default;
  void* Answer(const acfIID& iid) override;

  mutable std::mutex mMutex;
  Description mDescription;
  AttributeStore mAttributes;
};
} // namespace aaxhost
