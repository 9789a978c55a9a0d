// AAX_VDescriptionHost: forwards AAX_IDescriptionHost to the host's
// description-host interface, version 1, and holds the host's definition.
// Thread: [host] (registration only).
#pragma once

#include "ACF/ACFPtr.h"
#include "ACF/acfdefinition.h"
#include "AAX_IACFDescriptionHost.h"
#include "AAX_IDescriptionHost.h"

class AAX_VDescriptionHost : public AAX_IDescriptionHost
{
public:
  // Asks inHostUnknown (borrowed) for the interfaces; keeps its own references.
  explicit AAX_VDescriptionHost(IACFUnknown* inHostUnknown);
  ~AAX_VDescriptionHost() override;

  // True when the host offers the description-host interface.
  bool Supported() const { return static_cast<bool>(mIACFDescriptionHost); }

  // A new AAX_VFeatureInfo owned by the caller; null when unsupported or the
  // host answers with a failure or nothing.
  std::unique_ptr<const AAX_IFeatureInfo>
  AcquireFeatureProperties(const acfUID& inFeatureID) const override;
  IACFDefinition* HostDefinition() const override { return mIACFDefinition.get(); }

  AAX_VDescriptionHost(const AAX_VDescriptionHost&) = delete;
  AAX_VDescriptionHost& operator=(const AAX_VDescriptionHost&) = delete;

private:
  ACFPtr<AAX_IACFDescriptionHost> mIACFDescriptionHost;
  ACFPtr<IACFDefinition> mIACFDefinition;
};
