#include "HostPropertyMap.h"

#include "ACF/acfuids.h"
#include "AAX_Errors.h"
#include "AAX_UIDs.h"

namespace aaxhost
{
HostPropertyMap::HostPropertyMap(int version, const DescribedProperties& initial)
    : mVersion(version), mProperties(initial)
{
}

void* HostPropertyMap::Answer(const acfIID& iid)
{
  if (iid == IID_IACFUnknown || iid == IID_IAAXPropertyMapV1 ||
      (iid == IID_IAAXPropertyMapV2 && mVersion >= 2) ||
      (iid == IID_IAAXPropertyMapV3 && mVersion >= 3))
    return static_cast<AAX_IACFPropertyMap_V3*>(this);
  return nullptr;
}

#define QV_RECORD(op, ...) const_cast<CallLog&>(mCalls).Add(op, Args(__VA_ARGS__))

AAX_CBoolean HostPropertyMap::GetProperty(AAX_EProperty inProperty,
                                          AAX_CPropertyValue* outValue) const
{
  QV_RECORD("GetProperty", int32_t(inProperty));
  std::lock_guard<std::mutex> lock(mMutex);
  auto it = mProperties.values.find(inProperty);
  if (it == mProperties.values.end()) return 0;
  if (outValue) *outValue = it->second;
  return 1;
}

AAX_Result HostPropertyMap::AddProperty(AAX_EProperty inProperty, AAX_CPropertyValue inValue)
{
  QV_RECORD("AddProperty", int32_t(inProperty), inValue);
  std::lock_guard<std::mutex> lock(mMutex);
  mProperties.values[inProperty] = inValue;
  return AAX_SUCCESS;
}

AAX_Result HostPropertyMap::RemoveProperty(AAX_EProperty inProperty)
{
  QV_RECORD("RemoveProperty", int32_t(inProperty));
  std::lock_guard<std::mutex> lock(mMutex);
  const size_t n = mProperties.values.erase(inProperty) + mProperties.idArrays.erase(inProperty) +
                   mProperties.pointers.erase(inProperty);
  return n ? AAX_SUCCESS : AAX_ERROR_PROPERTY_UNDEFINED;
}

AAX_Result HostPropertyMap::AddPropertyWithIDArray(AAX_EProperty inProperty,
                                                   const AAX_SPlugInIdentifierTriad* inPluginIDs,
                                                   uint32_t inNumPluginIDs)
{
  QV_RECORD("AddPropertyWithIDArray", int32_t(inProperty), inNumPluginIDs);
  if (!inPluginIDs && inNumPluginIDs) return AAX_ERROR_NULL_ARGUMENT;
  std::lock_guard<std::mutex> lock(mMutex);
  mProperties.idArrays[inProperty].assign(inPluginIDs, inPluginIDs + inNumPluginIDs);
  return AAX_SUCCESS;
}

AAX_CBoolean
HostPropertyMap::GetPropertyWithIDArray(AAX_EProperty inProperty,
                                        const AAX_SPlugInIdentifierTriad** outPluginIDs,
                                        uint32_t* outNumPluginIDs) const
{
  QV_RECORD("GetPropertyWithIDArray", int32_t(inProperty));
  std::lock_guard<std::mutex> lock(mMutex);
  auto it = mProperties.idArrays.find(inProperty);
  if (it == mProperties.idArrays.end()) return 0;
  if (outPluginIDs) *outPluginIDs = it->second.data();
  if (outNumPluginIDs) *outNumPluginIDs = static_cast<uint32_t>(it->second.size());
  return 1;
}

AAX_Result HostPropertyMap::AddPointerProperty(AAX_EProperty inProperty, const void* inValue)
{
  QV_RECORD("AddPointerProperty", int32_t(inProperty), inValue);
  std::lock_guard<std::mutex> lock(mMutex);
  mProperties.pointers[inProperty] = inValue;
  return AAX_SUCCESS;
}

AAX_CBoolean HostPropertyMap::GetPointerProperty(AAX_EProperty inProperty,
                                                 const void** outValue) const
{
  QV_RECORD("GetPointerProperty", int32_t(inProperty));
  std::lock_guard<std::mutex> lock(mMutex);
  auto it = mProperties.pointers.find(inProperty);
  if (it == mProperties.pointers.end()) return 0;
  if (outValue) *outValue = it->second;
  return 1;
}

DescribedProperties HostPropertyMap::Snapshot() const
{
  std::lock_guard<std::mutex> lock(mMutex);
  return mProperties;
}

DescribedProperties PropertiesOf(IACFUnknown* unk)
{
  HostPropertyMap* map = HostComponentOf<HostPropertyMap>(unk);
  return map ? map->Snapshot() : DescribedProperties();
}
} // namespace aaxhost
