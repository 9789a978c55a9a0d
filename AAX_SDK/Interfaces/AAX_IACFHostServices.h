// Host services interfaces, versions 1 to 3: assertion reports and
// traces. Created through the host's component factory (AAXCompID_HostServices).
#pragma once

#include "ACF/acfunknown.h"
#include "AAX.h"

// Contract: 0 on success or a host failure code; texts are borrowed for the
// call. Thread: [any].
class AAX_IACFHostServices : public IACFUnknown
{
public:
  // 3: an assertion failure (source file, line, condition text).
  virtual AAX_Result HandleAssertFailure(const char* iFile, int32_t iLine, const char* iNote) = 0;
  // 4: a trace message of a priority.
  virtual AAX_Result Trace(int32_t iPriority, const char* iMessage) = 0;

protected:
  ~AAX_IACFHostServices() = default;
};

class AAX_IACFHostServices_V2 : public AAX_IACFHostServices
{
public:
  // 5: a trace message with a stack trace of the given priority.
  virtual AAX_Result StackTrace(int32_t iTracePriority, int32_t iStackTracePriority,
                                const char* iMessage) = 0;

protected:
  ~AAX_IACFHostServices_V2() = default;
};

class AAX_IACFHostServices_V3 : public AAX_IACFHostServices_V2
{
public:
  using AAX_IACFHostServices::HandleAssertFailure; // slot 3 stays reachable
  // 6: an assertion failure with its option flags (the system sends 3).
  virtual AAX_Result HandleAssertFailure(const char* iFile, int32_t iLine, const char* iNote,
                                         int32_t iFlags) = 0;

protected:
  ~AAX_IACFHostServices_V3() = default;
};
