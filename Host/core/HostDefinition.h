// Attribute-carrying definitions of the stand-in host (IID_IACFDefinition):
// the host's own definition and the store its plug-in definitions share.
#pragma once

#include "ACF/acfdefinition.h"
#include "HostComponent.h"

#include <map>
#include <mutex>
#include <vector>

namespace aaxhost
{
// Attributes by identifier: a type identifier and a copy of the bytes.
// Unknown attributes and indices give AAX_ERROR_UNKNOWN_ID; a wrong type or a
// too small buffer AAX_ERROR_INVALID_ARGUMENT. [any]
class AttributeStore
{
public:
  ACFRESULT Define(const acfUID& attributeID, const acfUID& typeID, const void* data,
                   acfUInt32 size);
  ACFRESULT Info(const acfUID& attributeID, acfUID* typeID, acfUInt32* size) const;
  ACFRESULT Copy(const acfUID& attributeID, const acfUID& typeID, void* data, acfUInt32 size) const;
  ACFRESULT Count(acfUInt32* count) const;
  ACFRESULT IDAtIndex(acfUInt32 index, acfUID* attributeID) const;

private:
  struct Attribute
  {
    acfUID type;
    std::vector<unsigned char> bytes;
  };
  mutable std::mutex mMutex;
  std::map<acfUID, Attribute, acfUIDLess> mAttributes;
};

// Forwards the five definition operations to an AttributeStore member mAttributes.
#define AAXHOST_DECLARE_DEFINITION()                                                               \
  ACFRESULT DefineAttribute(const acfUID& a, const acfUID& t, const void* d, acfUInt32 n) override \
  {                                                                                                \
    return mAttributes.Define(a, t, d, n);                                                         \
  }                                                                                                \
  ACFRESULT GetAttributeInfo(const acfUID& a, acfUID* t, acfUInt32* n) override                    \
  {                                                                                                \
    return mAttributes.Info(a, t, n);                                                              \
  }                                                                                                \
  ACFRESULT CopyAttribute(const acfUID& a, const acfUID& t, void* d, acfUInt32 n) override         \
  {                                                                                                \
    return mAttributes.Copy(a, t, d, n);                                                           \
  }                                                                                                \
  ACFRESULT GetAttributeCount(acfUInt32* n) override { return mAttributes.Count(n); }              \
  ACFRESULT GetAttributeIDAtIndex(acfUInt32 i, acfUID* a) override                                 \
  {                                                                                                \
    return mAttributes.IDAtIndex(i, a);                                                            \
  }

// The host's own definition, answered by the host object for IID_IACFDefinition.
class HostDefinition final : public IACFDefinition, public Component
{
public:
  AAXHOST_DECLARE_UNKNOWN()
  AAXHOST_DECLARE_DEFINITION()

  HostDefinition() = default;

private:
  ~HostDefinition() override = default;
  void* Answer(const acfIID& iid) override;

  AttributeStore mAttributes;
};
} // namespace aaxhost
