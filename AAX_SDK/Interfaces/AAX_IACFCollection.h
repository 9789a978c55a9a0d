// Host collection interface, version 1: the container a module describes its
// effects into during registration.
#pragma once

#include "ACF/acfunknown.h"
#include "AAX.h"

// Contract: 0 on success or a host failure code; texts are copied by the host;
// interfaces passed in are borrowed for the call (the host adds its own
// references). Thread: [host] (registration only).
class AAX_IACFCollection : public IACFUnknown
{
public:
  // inEffectDescriptor: the host effect-descriptor interface that was filled.
  virtual AAX_Result AddEffect(const char* inEffectID, IACFUnknown* inEffectDescriptor) = 0; // 3
  virtual AAX_Result SetManufacturerName(const char* inPackageName) = 0;                     // 4
  virtual AAX_Result AddPackageName(const char* inPackageName) = 0;                          // 5
  virtual AAX_Result SetPackageVersion(uint32_t inVersion) = 0;                              // 6
  virtual AAX_Result SetProperties(IACFUnknown* inProperties) = 0;                           // 7

protected:
  ~AAX_IACFCollection() = default;
};
