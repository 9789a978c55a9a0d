// IACFDefinition family: attribute-carrying definitions of the component model
// (IACFDefinition, IACFPluginDefinition, IACFComponentDefinition). The module only
// hands these pointers around (registration, description); it calls none of
// their operations.
#pragma once

#include "acfunknown.h"

class IACFDefinition : public IACFUnknown
{
public:
  // Slot 3. [host] Stores an attribute value of type typeID under attributeID.
  virtual ACFRESULT DefineAttribute(const acfUID& attributeID, const acfUID& typeID,
                                    const void* attrData, acfUInt32 attrDataSize) = 0;
  // Slot 4. [host] Type and size of an attribute.
  virtual ACFRESULT GetAttributeInfo(const acfUID& attributeID, acfUID* typeID,
                                     acfUInt32* attrDataSize) = 0;
  // Slot 5. [host] Copies an attribute value of the given type out.
  virtual ACFRESULT CopyAttribute(const acfUID& attributeID, const acfUID& typeID, void* attrData,
                                  acfUInt32 attrDataSize) = 0;
  // Slot 6. [host] Number of attributes.
  virtual ACFRESULT GetAttributeCount(acfUInt32* count) = 0;
  // Slot 7. [host] Identifier of the attribute at index.
  virtual ACFRESULT GetAttributeIDAtIndex(acfUInt32 index, acfUID* attributeID) = 0;

protected:
  ~IACFDefinition() = default;
};

// The definition a module hands back from ACFRegisterPlugin. Adds no operations.
class IACFPluginDefinition : public IACFDefinition
{
protected:
  ~IACFPluginDefinition() = default;
};

// The definition of one component (ACFRegisterComponent). Adds no operations.
class IACFComponentDefinition : public IACFDefinition
{
protected:
  ~IACFComponentDefinition() = default;
};
