#include "AAX_VViewContainer.h"

#include "AAX_Errors.h"
#include "AAX_UIDs.h"

#define QV_FORWARD_V1(missing, call) return mIViewContainer ? mIViewContainer->call : (missing)
#define QV_FORWARD_V2(call)                                                                        \
  return mIViewContainerV2 ? mIViewContainerV2->call : AAX_ERROR_UNIMPLEMENTED

AAX_VViewContainer::AAX_VViewContainer(IACFUnknown* pUnknown)
    : mIViewContainer(pUnknown, IID_IAAXViewContainerV1),
      mIViewContainerV2(pUnknown, IID_IAAXViewContainerV2)
{
}

AAX_VViewContainer::~AAX_VViewContainer() = default;

int32_t AAX_VViewContainer::GetType() { QV_FORWARD_V1(0, GetType()); }
void* AAX_VViewContainer::GetPtr() { QV_FORWARD_V1(nullptr, GetPtr()); }
AAX_Result AAX_VViewContainer::GetModifiers(uint32_t* oModifiers)
{
  QV_FORWARD_V1(AAX_ERROR_UNIMPLEMENTED, GetModifiers(oModifiers));
}
AAX_Result AAX_VViewContainer::SetViewSize(AAX_Point& iSize)
{
  QV_FORWARD_V1(AAX_SUCCESS, SetViewSize(iSize));
}
AAX_Result AAX_VViewContainer::HandleParameterMouseDown(AAX_CParamID iParamID, uint32_t iModifiers)
{
  QV_FORWARD_V1(AAX_ERROR_UNIMPLEMENTED, HandleParameterMouseDown(iParamID, iModifiers));
}
AAX_Result AAX_VViewContainer::HandleParameterMouseDrag(AAX_CParamID iParamID, uint32_t iModifiers)
{
  QV_FORWARD_V1(AAX_ERROR_UNIMPLEMENTED, HandleParameterMouseDrag(iParamID, iModifiers));
}
AAX_Result AAX_VViewContainer::HandleParameterMouseUp(AAX_CParamID iParamID, uint32_t iModifiers)
{
  QV_FORWARD_V1(AAX_ERROR_UNIMPLEMENTED, HandleParameterMouseUp(iParamID, iModifiers));
}
AAX_Result AAX_VViewContainer::HandleMultipleParametersMouseDown(const AAX_CParamID* iParamIDs,
                                                                 uint32_t iNumOfParams,
                                                                 uint32_t iModifiers)
{
  QV_FORWARD_V2(HandleMultipleParametersMouseDown(iParamIDs, iNumOfParams, iModifiers));
}
AAX_Result AAX_VViewContainer::HandleMultipleParametersMouseDrag(const AAX_CParamID* iParamIDs,
                                                                 uint32_t iNumOfParams,
                                                                 uint32_t iModifiers)
{
  QV_FORWARD_V2(HandleMultipleParametersMouseDrag(iParamIDs, iNumOfParams, iModifiers));
}
AAX_Result AAX_VViewContainer::HandleMultipleParametersMouseUp(const AAX_CParamID* iParamIDs,
                                                               uint32_t iNumOfParams,
                                                               uint32_t iModifiers)
{
  QV_FORWARD_V2(HandleMultipleParametersMouseUp(iParamIDs, iNumOfParams, iModifiers));
}
