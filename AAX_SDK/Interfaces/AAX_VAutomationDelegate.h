// AAX_VAutomationDelegate: forwards AAX_IAutomationDelegate to the host's
// automation delegate. Built on the object the host gives; a missing
// interface answers -20004. Keeps no state of its own: [any] thread.
#pragma once

#include "ACF/ACFPtr.h"
#include "AAX_IACFAutomationDelegate.h"
#include "AAX_IAutomationDelegate.h"

class AAX_VAutomationDelegate : public AAX_IAutomationDelegate
{
public:
  explicit AAX_VAutomationDelegate(IACFUnknown* pUnknown);
  ~AAX_VAutomationDelegate() override;

  AAX_Result RegisterParameter(AAX_CParamID iParameterID) override;
  AAX_Result UnregisterParameter(AAX_CParamID iParameterID) override;
  AAX_Result PostSetValueRequest(AAX_CParamID iParameterID, double iNormalizedValue) const override;
  AAX_Result PostCurrentValue(AAX_CParamID iParameterID, double iNormalizedValue) const override;
  AAX_Result PostTouchRequest(AAX_CParamID iParameterID) override;
  AAX_Result PostReleaseRequest(AAX_CParamID iParameterID) override;
  AAX_Result GetTouchState(AAX_CParamID iParameterID, AAX_CBoolean* oTouched) override;

  AAX_VAutomationDelegate(const AAX_VAutomationDelegate&) = delete;
  AAX_VAutomationDelegate& operator=(const AAX_VAutomationDelegate&) = delete;

private:
  ACFPtr<AAX_IACFAutomationDelegate> mIAutomationDelegate;
};
