#include "AAX_VAutomationDelegate.h"

#include "AAX_Errors.h"
#include "AAX_UIDs.h"

#define QV_FORWARD(call)                                                                           \
  return mIAutomationDelegate ? mIAutomationDelegate->call : AAX_ERROR_NULL_OBJECT

AAX_VAutomationDelegate::AAX_VAutomationDelegate(IACFUnknown* pUnknown)
    : mIAutomationDelegate(pUnknown, IID_IAAXAutomationDelegateV1)
{
}

AAX_VAutomationDelegate::~AAX_VAutomationDelegate() = default;

AAX_Result AAX_VAutomationDelegate::RegisterParameter(AAX_CParamID iParameterID)
{
  QV_FORWARD(RegisterParameter(iParameterID));
}
AAX_Result AAX_VAutomationDelegate::UnregisterParameter(AAX_CParamID iParameterID)
{
  QV_FORWARD(UnregisterParameter(iParameterID));
}
AAX_Result AAX_VAutomationDelegate::PostSetValueRequest(AAX_CParamID iParameterID,
                                                        double iNormalizedValue) const
{
  QV_FORWARD(PostSetValueRequest(iParameterID, iNormalizedValue));
}
AAX_Result AAX_VAutomationDelegate::PostCurrentValue(AAX_CParamID iParameterID,
                                                     double iNormalizedValue) const
{
  QV_FORWARD(PostCurrentValue(iParameterID, iNormalizedValue));
}
AAX_Result AAX_VAutomationDelegate::PostTouchRequest(AAX_CParamID iParameterID)
{
  QV_FORWARD(PostTouchRequest(iParameterID));
}
AAX_Result AAX_VAutomationDelegate::PostReleaseRequest(AAX_CParamID iParameterID)
{
  QV_FORWARD(PostReleaseRequest(iParameterID));
}
AAX_Result AAX_VAutomationDelegate::GetTouchState(AAX_CParamID iParameterID, AAX_CBoolean* oTouched)
{
  QV_FORWARD(GetTouchState(iParameterID, oTouched));
}
