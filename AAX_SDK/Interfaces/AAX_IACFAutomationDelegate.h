// Host automation delegate interface: the plug-in registers its
// parameters and asks the host to change, touch and release them; the host
// answers set requests with the effect's UpdateParameterNormalizedValue.
#pragma once

#include "ACF/acfunknown.h"
#include "AAX.h"

// Contract: 0 on success or a host failure code (an unregistered identifier is
// refused); identifiers are borrowed for the call. Thread: [any] ([gui] for
// touch and set requests from the editor, [host] otherwise).
class AAX_IACFAutomationDelegate : public IACFUnknown
{
public:
  virtual AAX_Result RegisterParameter(AAX_CParamID iParameterID) = 0;   // 3
  virtual AAX_Result UnregisterParameter(AAX_CParamID iParameterID) = 0; // 4
  virtual AAX_Result PostSetValueRequest(AAX_CParamID iParameterID,
                                         double iNormalizedValue) = 0;                         // 5
  virtual AAX_Result PostCurrentValue(AAX_CParamID iParameterID, double iNormalizedValue) = 0; // 6
  virtual AAX_Result PostTouchRequest(AAX_CParamID iParameterID) = 0;                          // 7
  virtual AAX_Result PostReleaseRequest(AAX_CParamID iParameterID) = 0;                        // 8
  virtual AAX_Result GetTouchState(AAX_CParamID iParameterID, AAX_CBoolean* oTouched) = 0;     // 9

protected:
  ~AAX_IACFAutomationDelegate() = default;
};
