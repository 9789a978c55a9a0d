// Host view container interfaces, versions 1 and 2: the host window
// that holds the plug-in's editor.
#pragma once

#include "ACF/acfunknown.h"
#include "AAX.h"

// Contract: 0 on success or a host failure code; the native view belongs to
// the host and lives until the container is taken away. Thread: [gui].
class AAX_IACFViewContainer : public IACFUnknown
{
public:
  virtual int32_t GetType() = 0;                             // 3
  virtual void* GetPtr() = 0;                                // 4: the native view
  virtual AAX_Result GetModifiers(uint32_t* oModifiers) = 0; // 5
  virtual AAX_Result SetViewSize(AAX_Point& iSize) = 0;      // 6
  // 7, 8, 9: 0 (success) when the host took the mouse event for that parameter.
  virtual AAX_Result HandleParameterMouseDown(AAX_CParamID iParamID, uint32_t iModifiers) = 0; // 7
  virtual AAX_Result HandleParameterMouseDrag(AAX_CParamID iParamID, uint32_t iModifiers) = 0; // 8
  virtual AAX_Result HandleParameterMouseUp(AAX_CParamID iParamID, uint32_t iModifiers) = 0;   // 9

protected:
  ~AAX_IACFViewContainer() = default;
};

class AAX_IACFViewContainer_V2 : public AAX_IACFViewContainer
{
public:
  virtual AAX_Result HandleMultipleParametersMouseDown(const AAX_CParamID* iParamIDs, //
                                                       uint32_t iNumOfParams,         //
                                                       uint32_t iModifiers) = 0;      // 10
  virtual AAX_Result HandleMultipleParametersMouseDrag(const AAX_CParamID* iParamIDs, //
                                                       uint32_t iNumOfParams,         //
                                                       uint32_t iModifiers) = 0;      // 11
  virtual AAX_Result HandleMultipleParametersMouseUp(const AAX_CParamID* iParamIDs,   //
                                                     uint32_t iNumOfParams,           //
                                                     uint32_t iModifiers) = 0;        // 12

protected:
  ~AAX_IACFViewContainer_V2() = default;
};
