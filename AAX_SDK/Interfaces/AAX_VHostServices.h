// AAX_VHostServices: forwards AAX_IHostServices to the host's services,
// versions 1 to 3. Unlike the other wrappers it does not query the
// host object for them: it asks the host's component factory to create the
// AAXCompID_HostServices component once per version. Keeps no state: [any].
#pragma once

#include "ACF/ACFPtr.h"
#include "AAX_IACFHostServices.h"
#include "AAX_IHostServices.h"

class AAX_VHostServices : public AAX_IHostServices
{
public:
  explicit AAX_VHostServices(IACFUnknown* pUnknown);
  ~AAX_VHostServices() override;

  // Version 3 (slot 6) with all four arguments; else version 1 (slot 3) without
  // the flags; -20004 when both are missing.
  AAX_Result HandleAssertFailure(const char* iFile, int32_t iLine, const char* iNote,
                                 int32_t iFlags) const override;
  // Version 1, slot 4; -20004 when missing.
  AAX_Result Trace(int32_t iPriority, const char* iMessage) const override;
  // Version 2, slot 5; -20009 when missing.
  AAX_Result StackTrace(int32_t iTracePriority, int32_t iStackTracePriority,
                        const char* iMessage) const override;

  AAX_VHostServices(const AAX_VHostServices&) = delete;
  AAX_VHostServices& operator=(const AAX_VHostServices&) = delete;

private:
  ACFPtr<AAX_IACFHostServices> mIACFHostServices;
  ACFPtr<AAX_IACFHostServices_V2> mIACFHostServicesV2;
  ACFPtr<AAX_IACFHostServices_V3> mIACFHostServicesV3;
};
