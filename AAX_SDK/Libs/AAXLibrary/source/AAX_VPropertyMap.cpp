#include "AAX_VPropertyMap.h"

#include "AAX_CreateHostComponent.h"
#include "AAX_Errors.h"
#include "AAX_UIDs.h"

AAX_VPropertyMap* AAX_VPropertyMap::Create(IACFUnknown* inHostUnknown)
{
  AAX_VPropertyMap* map = new AAX_VPropertyMap();
  const ACFPtr<IACFUnknown> created = AAX_CreateHostComponent<IACFUnknown>(
      inHostUnknown, AAXCompID_AAXPropertyMap, IID_IAAXPropertyMapV1);
  map->AcquireInterfaces(created.get());
  // Where the description host is looked for: the host itself, then its
  // factory, then the map.
  map->mIACFDescriptionHost =
      ACFPtr<AAX_IACFDescriptionHost>(inHostUnknown, IID_IAAXDescriptionHostV1);
  if (!map->mIACFDescriptionHost)
    map->mIACFDescriptionHost = AAX_CreateHostComponent<AAX_IACFDescriptionHost>(
        inHostUnknown, AAX_CompID_DescriptionHost, IID_IAAXDescriptionHostV1);
  if (!map->mIACFDescriptionHost)
    map->mIACFDescriptionHost =
        ACFPtr<AAX_IACFDescriptionHost>(created.get(), IID_IAAXDescriptionHostV1);
  return map;
}

AAX_VPropertyMap* AAX_VPropertyMap::Acquire(IACFUnknown* inPropertyMapUnknown)
{
  AAX_VPropertyMap* map = new AAX_VPropertyMap();
  map->AcquireInterfaces(inPropertyMapUnknown);
  map->mIACFDescriptionHost =
      ACFPtr<AAX_IACFDescriptionHost>(inPropertyMapUnknown, IID_IAAXDescriptionHostV1);
  return map;
}

void AAX_VPropertyMap::AcquireInterfaces(IACFUnknown* inMapUnknown)
{
  mIACFPropertyMap = ACFPtr<AAX_IACFPropertyMap>(inMapUnknown, IID_IAAXPropertyMapV1);
  if (!mIACFPropertyMap) return;
  mIACFPropertyMapV2 =
      ACFPtr<AAX_IACFPropertyMap_V2>(mIACFPropertyMap.get(), IID_IAAXPropertyMapV2);
  mIACFPropertyMapV3 =
      ACFPtr<AAX_IACFPropertyMap_V3>(mIACFPropertyMap.get(), IID_IAAXPropertyMapV3);
}

AAX_VPropertyMap::~AAX_VPropertyMap() = default;

bool AAX_VPropertyMap::KeptLocally(AAX_EProperty inProperty) const
{
  return !mIACFPropertyMapV3 && inProperty >= AAX_eProperty_NativeProcessProc &&
         inProperty <= AAX_eProperty_TIBackgroundProc;
}

AAX_CBoolean AAX_VPropertyMap::GetProperty(AAX_EProperty inProperty,
                                           AAX_CPropertyValue* outValue) const
{
  return mIACFPropertyMap ? mIACFPropertyMap->GetProperty(inProperty, outValue) : 0;
}

namespace
{
// Stem formats a map without a description host accepts for the main input
// and output: a known layout (0..12) or one of the two layout-less formats.
bool AcceptableStemFormat(AAX_CPropertyValue value)
{
  const uint32_t bits = static_cast<uint32_t>(value);
  if (bits == static_cast<uint32_t>(AAX_eStemFormat_None) ||
      bits == static_cast<uint32_t>(AAX_eStemFormat_Any))
    return true;
  const int16_t layout = static_cast<int16_t>(bits >> 16);
  return layout >= 0 && layout <= 12;
}
} // namespace

AAX_Result AAX_VPropertyMap::AddProperty(AAX_EProperty inProperty, AAX_CPropertyValue inValue)
{
  if (!mIACFPropertyMap) return AAX_ERROR_NULL_OBJECT;
  if (!mIACFDescriptionHost &&
      (inProperty == AAX_eProperty_InputStemFormat ||
       inProperty == AAX_eProperty_OutputStemFormat) &&
      !AcceptableStemFormat(inValue))
    return AAX_ERROR_PROPERTY_UNDEFINED;
  const AAX_Result r = mIACFPropertyMap->AddProperty(inProperty, inValue);
  if (r == AAX_SUCCESS) mValueIDs.insert(inProperty);
  return r;
}

AAX_Result AAX_VPropertyMap::RemoveProperty(AAX_EProperty inProperty)
{
  if (!mIACFPropertyMap) return AAX_ERROR_NULL_OBJECT;
  const AAX_Result r = mIACFPropertyMap->RemoveProperty(inProperty);
  if (r == AAX_SUCCESS)
  {
    mValueIDs.erase(inProperty);
    mArrayIDs.erase(inProperty);
    mPointerIDs.erase(inProperty);
    mLocalPointers.erase(inProperty);
  }
  return r;
}

AAX_Result AAX_VPropertyMap::AddPropertyWithIDArray(AAX_EProperty inProperty,
                                                    const AAX_SPlugInIdentifierTriad* inPluginIDs,
                                                    uint32_t inNumPluginIDs)
{
  if (!mIACFPropertyMapV2) return AAX_ERROR_UNIMPLEMENTED;
  const AAX_Result r =
      mIACFPropertyMapV2->AddPropertyWithIDArray(inProperty, inPluginIDs, inNumPluginIDs);
  if (r == AAX_SUCCESS) mArrayIDs.insert(inProperty);
  return r;
}

AAX_CBoolean
AAX_VPropertyMap::GetPropertyWithIDArray(AAX_EProperty inProperty,
                                         const AAX_SPlugInIdentifierTriad** outPluginIDs,
                                         uint32_t* outNumPluginIDs) const
{
  return mIACFPropertyMapV2
             ? mIACFPropertyMapV2->GetPropertyWithIDArray(inProperty, outPluginIDs, outNumPluginIDs)
             : 0;
}

AAX_Result AAX_VPropertyMap::AddPointerProperty(AAX_EProperty inProperty, const void* inValue)
{
  if (mIACFPropertyMapV3)
  {
    const AAX_Result r = mIACFPropertyMapV3->AddPointerProperty(inProperty, inValue);
    if (r == AAX_SUCCESS) mPointerIDs.insert(inProperty);
    return r;
  }
  // An older host cannot hold pointers; the process procedures are registered
  // from here instead (AAX_VComponentDescriptor::AddProcessProc).
  if (!KeptLocally(inProperty)) return AAX_ERROR_UNIMPLEMENTED;
  mLocalPointers[inProperty] = inValue;
  mPointerIDs.insert(inProperty);
  return AAX_SUCCESS;
}

AAX_CBoolean AAX_VPropertyMap::GetPointerProperty(AAX_EProperty inProperty,
                                                  const void** outValue) const
{
  if (mIACFPropertyMapV3) return mIACFPropertyMapV3->GetPointerProperty(inProperty, outValue);
  auto it = mLocalPointers.find(inProperty);
  if (it == mLocalPointers.end()) return 0;
  if (outValue) *outValue = it->second;
  return 1;
}

IACFUnknown* AAX_VPropertyMap::GetIUnknown() const
{
  if (mIACFPropertyMapV3) return mIACFPropertyMapV3.get();
  if (mIACFPropertyMapV2) return mIACFPropertyMapV2.get();
  return mIACFPropertyMap.get();
}

AAX_Result AAX_VPropertyMap::CopyTo(AAX_IPropertyMap& ioTarget) const
{
  AAX_Result first = AAX_SUCCESS;
  auto keep = [&first](AAX_Result r)
  {
    if (first == AAX_SUCCESS) first = r;
  };
  for (int32_t id : mValueIDs)
  {
    AAX_CPropertyValue v = 0;
    if (GetProperty(AAX_EProperty(id), &v)) keep(ioTarget.AddProperty(AAX_EProperty(id), v));
  }
  for (int32_t id : mArrayIDs)
  {
    const AAX_SPlugInIdentifierTriad* ids = nullptr;
    uint32_t n = 0;
    if (GetPropertyWithIDArray(AAX_EProperty(id), &ids, &n))
      keep(ioTarget.AddPropertyWithIDArray(AAX_EProperty(id), ids, n));
  }
  for (int32_t id : mPointerIDs)
  {
    const void* p = nullptr;
    if (GetPointerProperty(AAX_EProperty(id), &p))
      keep(ioTarget.AddPointerProperty(AAX_EProperty(id), p));
  }
  return first;
}
