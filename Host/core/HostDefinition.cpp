#include "HostDefinition.h"

#include "ACF/acfuids.h"
#include "AAX_Errors.h"

#include <cstring>

namespace aaxhost
{
ACFRESULT AttributeStore::Define(const acfUID& attributeID, const acfUID& typeID, const void* data,
                                 acfUInt32 size)
{
  if (!data && size) return AAX_ERROR_NULL_ARGUMENT;
  const unsigned char* bytes = static_cast<const unsigned char*>(data);
  std::lock_guard<std::mutex> lock(mMutex);
  mAttributes[attributeID] = Attribute{typeID, std::vector<unsigned char>(bytes, bytes + size)};
  return ACF_OK;
}

ACFRESULT AttributeStore::Info(const acfUID& attributeID, acfUID* typeID, acfUInt32* size) const
{
  std::lock_guard<std::mutex> lock(mMutex);
  auto it = mAttributes.find(attributeID);
  if (it == mAttributes.end()) return AAX_ERROR_UNKNOWN_ID;
  if (typeID) *typeID = it->second.type;
  if (size) *size = static_cast<acfUInt32>(it->second.bytes.size());
  return ACF_OK;
}

ACFRESULT AttributeStore::Copy(const acfUID& attributeID, const acfUID& typeID, void* data,
                               acfUInt32 size) const
{
  std::lock_guard<std::mutex> lock(mMutex);
  auto it = mAttributes.find(attributeID);
  if (it == mAttributes.end()) return AAX_ERROR_UNKNOWN_ID;
  if (it->second.type != typeID || size < it->second.bytes.size() || (!data && size))
    return AAX_ERROR_INVALID_ARGUMENT;
  if (!it->second.bytes.empty())
    std::memcpy(data, it->second.bytes.data(), it->second.bytes.size());
  return ACF_OK;
}

ACFRESULT AttributeStore::Count(acfUInt32* count) const
{
  if (!count) return AAX_ERROR_NULL_ARGUMENT;
  std::lock_guard<std::mutex> lock(mMutex);
  *count = static_cast<acfUInt32>(mAttributes.size());
  return ACF_OK;
}

ACFRESULT AttributeStore::IDAtIndex(acfUInt32 index, acfUID* attributeID) const
{
  if (!attributeID) return AAX_ERROR_NULL_ARGUMENT;
  std::lock_guard<std::mutex> lock(mMutex);
  if (index >= mAttributes.size()) return AAX_ERROR_UNKNOWN_ID;
  auto it = mAttributes.begin();
  std::advance(it, index);
  *attributeID = it->first;
  return ACF_OK;
}

void* HostDefinition::Answer(const acfIID& iid)
{
  if (iid == IID_IACFUnknown || iid == IID_IACFDefinition)
    return static_cast<IACFDefinition*>(this);
  return nullptr;
}
} // namespace aaxhost
