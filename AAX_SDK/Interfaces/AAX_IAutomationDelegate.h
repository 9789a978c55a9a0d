// AAX_IAutomationDelegate: the plug-in side's view of the host's automation
//; AAX_VAutomationDelegate implements it. Thread: [any].
#pragma once

#include "AAX.h"

class AAX_IAutomationDelegate
{
public:
  virtual ~AAX_IAutomationDelegate() {}

  virtual AAX_Result RegisterParameter(AAX_CParamID iParameterID) = 0;
  virtual AAX_Result UnregisterParameter(AAX_CParamID iParameterID) = 0;
  // Asks the host to set the value; it answers with UpdateParameterNormalizedValue.
  virtual AAX_Result PostSetValueRequest(AAX_CParamID iParameterID,
                                         double iNormalizedValue) const = 0;
  // Reports the value now in effect.
  virtual AAX_Result PostCurrentValue(AAX_CParamID iParameterID, double iNormalizedValue) const = 0;
  virtual AAX_Result PostTouchRequest(AAX_CParamID iParameterID) = 0;
  virtual AAX_Result PostReleaseRequest(AAX_CParamID iParameterID) = 0;
  virtual AAX_Result GetTouchState(AAX_CParamID iParameterID, AAX_CBoolean* oTouched) = 0;
};
