// IACFUnknown: the root of every host and plug-in component interface.
#pragma once

#include "acfbasetypes.h"

// Host interfaces are abstract classes whose virtual operations stand in table
// order with no virtual destructor, so slot n is the n-th virtual function.
// Destructors are protected and non-virtual: objects are destroyed through
// Release, never through an interface pointer.
class IACFUnknown
{
public:
  // Slot 0. [any] Stores an interface named by iid in *ppOut with one added
  // reference and returns 0; or stores null and returns a non-zero result.
  virtual ACFRESULT QueryInterface(const acfIID& iid, void** ppOut) = 0;
  // Slot 1. [any] Adds a reference; returns the new count.
  virtual acfUInt32 AddRef() = 0;
  // Slot 2. [any] Drops a reference; the object frees itself at 0. Returns the new count.
  virtual acfUInt32 Release() = 0;

protected:
  ~IACFUnknown() = default;
};
