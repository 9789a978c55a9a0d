#include "AAX_CIPlugParameters.h"

#include "AAX_CHostServices.h"
#include "AAX_Errors.h"

#include <cstring>

namespace
{
// Where assertion reports from this file say they come from.
constexpr const char* kSourcePath = "WDL/IPlug/AAX/AAX_CIPlugParameters";
constexpr int32_t kPrivateDataLine = 9;
} // namespace

AAX_Result AAX_CIPlugParameters::ResetFieldData(AAX_CFieldIndex iFieldIndex, void* oData,
                                                uint32_t iDataSize) const
{
  if (iFieldIndex != AAX_SIPlugRenderInfo::kPrivateData)
    return AAX_CEffectParameters::ResetFieldData(iFieldIndex, oData, iDataSize);
  if (iDataSize != sizeof(AAX_SIPlugPrivateData))
    AAX_CHostServices::HandleAssertFailure(kSourcePath, kPrivateDataLine,
                                           "iDataSize == sizeof(AAX_SIPlugPrivateData)",
                                           AAX_kAssertFlags);
  // A smaller block cannot hold the pointer: writing it would overrun the
  // host's memory, so such a block stays as it was.
  if (!oData || iDataSize < sizeof(AAX_SIPlugPrivateData)) return AAX_SUCCESS;
  std::memset(oData, 0, iDataSize);
  AAX_SIPlugPrivateData block;
  block.mPlug = const_cast<AAX_CIPlugParameters*>(this);
  std::memcpy(oData, &block, sizeof block);
  return AAX_SUCCESS;
}

void AAX_CIPlugParameters::StaticRenderAudio(AAX_SIPlugRenderInfo* const inInstancesBegin[],
                                             const void* inInstancesEnd)
{
  for (AAX_SIPlugRenderInfo* const* walk = inInstancesBegin; walk < inInstancesEnd; ++walk)
  {
    AAX_SIPlugRenderInfo* context = *walk;
    if (!context || !context->mPrivateData) continue;
    if (AAX_CIPlugParameters* plug = context->mPrivateData->mPlug) plug->RenderAudio(context);
  }
}
