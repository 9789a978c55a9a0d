// The stand-in host's view container, versions 1 and 2: the host window that
// holds an editor (its native view pointer), size requests and parameter mouse
// handling.
#pragma once

#include "AAX_IACFViewContainer.h"
#include "HostComponent.h"

namespace aaxhost
{
class HostViewContainer final : public AAX_IACFViewContainer_V2, public Component
{
public:
  AAXHOST_DECLARE_UNKNOWN()

  // version 1 or 2; type is the host's container type code; nativeView the
  // window handed to the editor (an X11 window id on Linux), may be null.
  HostViewContainer(int version, int32_t type, void* nativeView);

  int32_t GetType() override;
  void* GetPtr() override;
  AAX_Result GetModifiers(uint32_t* oModifiers) override;
  AAX_Result SetViewSize(AAX_Point& iSize) override;
  // Each answers the configured mouse result: 0 when the host takes the event.
  AAX_Result HandleParameterMouseDown(AAX_CParamID iParamID, uint32_t iModifiers) override;
  AAX_Result HandleParameterMouseDrag(AAX_CParamID iParamID, uint32_t iModifiers) override;
  AAX_Result HandleParameterMouseUp(AAX_CParamID iParamID, uint32_t iModifiers) override;
  AAX_Result HandleMultipleParametersMouseDown(const AAX_CParamID* iParamIDs, uint32_t iNumOfParams,
                                               uint32_t iModifiers) override;
  AAX_Result HandleMultipleParametersMouseDrag(const AAX_CParamID* iParamIDs, uint32_t iNumOfParams,
                                               uint32_t iModifiers) override;
  AAX_Result HandleMultipleParametersMouseUp(const AAX_CParamID* iParamIDs, uint32_t iNumOfParams,
                                             uint32_t iModifiers) override;

  void SetModifiers(uint32_t modifiers);
  // The result of the mouse handlers; default AAX_ERROR_UNIMPLEMENTED (not taken).
  void SetMouseResult(AAX_Result result);
  void SetNativeView(void* nativeView);
  std::vector<AAX_Point> SizeRequests() const;

private:
  ~HostViewContainer() override = default;
  void* Answer(const acfIID& iid) override;
  AAX_Result Mouse(const char* op, AAX_CParamID id, uint32_t modifiers);
  AAX_Result MouseMany(const char* op, const AAX_CParamID* ids, uint32_t n, uint32_t modifiers);

  const int mVersion;
  const int32_t mType;
  mutable std::mutex mMutex;
  void* mNativeView;
  uint32_t mModifiers = 0;
  AAX_Result mMouseResult;
  std::vector<AAX_Point> mSizeRequests;
};
} // namespace aaxhost
