#include "HostCollection.h"

#include "ACF/acfuids.h"
#include "AAX_Errors.h"
#include "AAX_UIDs.h"
#include "HostEffectDescriptor.h"
#include "HostPropertyMap.h"

namespace aaxhost
{
void* HostCollection::Answer(const acfIID& iid)
{
  if (iid == IID_IACFUnknown || iid == IID_IAAXCollectionV1)
    return static_cast<AAX_IACFCollection*>(this);
  if (iid == IID_IACFPluginDefinition || iid == IID_IACFDefinition)
    return static_cast<IACFPluginDefinition*>(this);
  return nullptr;
}

AAX_Result HostCollection::AddEffect(const char* inEffectID, IACFUnknown* inEffectDescriptor)
{
  mCalls.Add("AddEffect", Args(inEffectID, inEffectDescriptor));
  if (!inEffectID) return AAX_ERROR_NULL_ARGUMENT;
  HostEffectDescriptor* d = HostComponentOf<HostEffectDescriptor>(inEffectDescriptor);
  if (!d) return AAX_ERROR_NULL_OBJECT;
  DescribedEffect effect = d->Snapshot();
  if (effect.components.empty()) return AAX_ERROR_NO_COMPONENTS;
  effect.id = inEffectID;
  std::lock_guard<std::mutex> lock(mMutex);
  for (const DescribedEffect& e : mDescription.effects)
    if (e.id == effect.id) return AAX_ERROR_DUPLICATE_EFFECT_ID;
  mDescription.effects.push_back(std::move(effect));
  return AAX_SUCCESS;
}

AAX_Result HostCollection::SetManufacturerName(const char* inPackageName)
{
  mCalls.Add("SetManufacturerName", Args(inPackageName));
  if (!inPackageName) return AAX_ERROR_NULL_ARGUMENT;
  std::lock_guard<std::mutex> lock(mMutex);
  mDescription.manufacturerNames.push_back(inPackageName);
  return AAX_SUCCESS;
}

AAX_Result HostCollection::AddPackageName(const char* inPackageName)
{
  mCalls.Add("AddPackageName", Args(inPackageName));
  if (!inPackageName) return AAX_ERROR_NULL_ARGUMENT;
  std::lock_guard<std::mutex> lock(mMutex);
  mDescription.packageNames.push_back(inPackageName);
  return AAX_SUCCESS;
}

AAX_Result HostCollection::SetPackageVersion(uint32_t inVersion)
{
  mCalls.Add("SetPackageVersion", Args(inVersion));
  std::lock_guard<std::mutex> lock(mMutex);
  mDescription.hasPackageVersion = true;
  mDescription.packageVersion = inVersion;
  return AAX_SUCCESS;
}

AAX_Result HostCollection::SetProperties(IACFUnknown* inProperties)
{
  mCalls.Add("SetProperties", Args(inProperties));
  if (!HostComponentOf<HostPropertyMap>(inProperties)) return AAX_ERROR_NULL_OBJECT;
  DescribedProperties copy = PropertiesOf(inProperties);
  std::lock_guard<std::mutex> lock(mMutex);
  mDescription.properties = std::move(copy);
  return AAX_SUCCESS;
}

Description HostCollection::Snapshot() const
{
  std::lock_guard<std::mutex> lock(mMutex);
  return mDescription;
}
} // namespace aaxhost
