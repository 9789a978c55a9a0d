// AAX_IString: the text that crosses the host boundary. The host and
// the plug-in each implement it; either side reads a foreign string only through
// its virtual operations.
#pragma once

#include <cstdint>

class AAX_IString
{
public:
  virtual ~AAX_IString() {}

  // [any] Number of bytes before the terminating NUL.
  virtual uint32_t Length() const = 0;
  // [any] Largest length the implementation can hold.
  virtual uint32_t MaxLength() const = 0;
  // [any] The NUL-terminated text; owned by the string, valid until it changes.
  virtual const char* Get() const = 0;
  // [any] Replaces the text with a copy of the NUL-terminated text.
  virtual void Set(const char* iString) = 0;
  // [any] Replaces the text with a copy of other's Get text.
  virtual AAX_IString& operator=(const AAX_IString& iOther) = 0;
  // [any] Replaces the text with a copy of the NUL-terminated text.
  virtual AAX_IString& operator=(const char* iString) = 0;
};
