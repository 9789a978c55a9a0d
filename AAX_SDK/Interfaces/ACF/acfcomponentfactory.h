// IACFComponentFactory: the host's factory of host components.
#pragma once

#include "acfunknown.h"

class IACFComponentFactory : public IACFUnknown
{
public:
  // Slot 3. [host] Creates a component of class clsid and stores its interface iid
  // (one reference, the caller's) in *ppOut. The system always passes a null outer
  // object. On failure *ppOut is null and the result non-zero.
  virtual ACFRESULT CreateComponent(const acfCLSID& clsid, IACFUnknown* pUnkOuter,
                                    const acfIID& iid, void** ppOut) = 0;

protected:
  ~IACFComponentFactory() = default;
};
