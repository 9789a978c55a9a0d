// AAX_IViewContainer: the plug-in side's view of the host window that holds the
// editor; AAX_VViewContainer implements it. Thread: [gui].
#pragma once

#include "AAX.h"

class AAX_IViewContainer
{
public:
  virtual ~AAX_IViewContainer() {}

  virtual int32_t GetType() = 0; // 0 without a host container
  virtual void* GetPtr() = 0;    // the native view; null without a host container
  virtual AAX_Result GetModifiers(uint32_t* oModifiers) = 0;
  virtual AAX_Result SetViewSize(AAX_Point& iSize) = 0;
  // 0 (success) when the host took the event; the editor then ignores it.
  virtual AAX_Result HandleParameterMouseDown(AAX_CParamID iParamID, uint32_t iModifiers) = 0;
  virtual AAX_Result HandleParameterMouseDrag(AAX_CParamID iParamID, uint32_t iModifiers) = 0;
  virtual AAX_Result HandleParameterMouseUp(AAX_CParamID iParamID, uint32_t iModifiers) = 0;
  virtual AAX_Result HandleMultipleParametersMouseDown(const AAX_CParamID* iParamIDs,
                                                       uint32_t iNumOfParams,
                                                       uint32_t iModifiers) = 0;
  virtual AAX_Result HandleMultipleParametersMouseDrag(const AAX_CParamID* iParamIDs,
                                                       uint32_t iNumOfParams,
                                                       uint32_t iModifiers) = 0;
  virtual AAX_Result HandleMultipleParametersMouseUp(const AAX_CParamID* iParamIDs,
                                                     uint32_t iNumOfParams,
                                                     uint32_t iModifiers) = 0;
};
