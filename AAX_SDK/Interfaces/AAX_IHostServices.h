// AAX_IHostServices: the plug-in side's view of the host's assertion and trace
// services; AAX_VHostServices implements it. Thread: [any].
#pragma once

#include "AAX.h"

class AAX_IHostServices
{
public:
  virtual ~AAX_IHostServices() {}

  virtual AAX_Result HandleAssertFailure(const char* iFile, int32_t iLine, const char* iNote,
                                         int32_t iFlags) const = 0;
  virtual AAX_Result Trace(int32_t iPriority, const char* iMessage) const = 0;
  virtual AAX_Result StackTrace(int32_t iTracePriority, int32_t iStackTracePriority,
                                const char* iMessage) const = 0;
};
