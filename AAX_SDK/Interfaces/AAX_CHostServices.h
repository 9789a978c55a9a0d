// AAX_CHostServices: process-wide access to the host's assertion and trace
// services, over one AAX_VHostServices that exists from the module's
// start-up call to its shut-down call. Before and after, every call does
// nothing and returns 0.
#pragma once

#include "ACF/acfunknown.h"
#include "AAX.h"

class AAX_CHostServices
{
public:
  // With a host object and no current instance: create one on it. With null and
  // a current instance: delete it. Anything else changes nothing. Called only by
  // the module's start-up and shut-down entry points. [host]
  static void Set(IACFUnknown* pUnkHost);

  // Forwarded to the instance; 0 without one. [any]
  static AAX_Result HandleAssertFailure(const char* iFile, int32_t iLine, const char* iNote,
                                        int32_t iFlags);
  // printf-style message, at most 511 characters kept, forwarded with the
  // priority; 0 without an instance. [any]
  static AAX_Result Trace(int32_t iPriority, const char* iFormat, ...)
      __attribute__((format(printf, 2, 3)));
  // The same, forwarded to StackTrace. [any]
  static AAX_Result StackTrace(int32_t iTracePriority, int32_t iStackTracePriority,
                               const char* iFormat, ...) __attribute__((format(printf, 3, 4)));
};
