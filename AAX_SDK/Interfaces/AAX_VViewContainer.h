// AAX_VViewContainer: forwards AAX_IViewContainer to the host's view container,
// versions 1 and 2. Without the host interface: GetType 0, GetPtr
// null, SetViewSize 0, everything else -20009. Keeps no state: [gui] thread.
#pragma once

#include "ACF/ACFPtr.h"
#include "AAX_IACFViewContainer.h"
#include "AAX_IViewContainer.h"

class AAX_VViewContainer : public AAX_IViewContainer
{
public:
  explicit AAX_VViewContainer(IACFUnknown* pUnknown);
  ~AAX_VViewContainer() override;

  int32_t GetType() override;
  void* GetPtr() override;
  AAX_Result GetModifiers(uint32_t* oModifiers) override;
  AAX_Result SetViewSize(AAX_Point& iSize) override;
  AAX_Result HandleParameterMouseDown(AAX_CParamID iParamID, uint32_t iModifiers) override;
  AAX_Result HandleParameterMouseDrag(AAX_CParamID iParamID, uint32_t iModifiers) override;
  AAX_Result HandleParameterMouseUp(AAX_CParamID iParamID, uint32_t iModifiers) override;
  AAX_Result HandleMultipleParametersMouseDown(const AAX_CParamID* iParamIDs, uint32_t iNumOfParams,
                                               uint32_t iModifiers) override;
  AAX_Result HandleMultipleParametersMouseDrag(const AAX_CParamID* iParamIDs, uint32_t iNumOfParams,
                                               uint32_t iModifiers) override;
  AAX_Result HandleMultipleParametersMouseUp(const AAX_CParamID* iParamIDs, uint32_t iNumOfParams,
                                             uint32_t iModifiers) override;

  AAX_VViewContainer(const AAX_VViewContainer&) = delete;
  AAX_VViewContainer& operator=(const AAX_VViewContainer&) = delete;

private:
  ACFPtr<AAX_IACFViewContainer> mIViewContainer;
  ACFPtr<AAX_IACFViewContainer_V2> mIViewContainerV2;
};
