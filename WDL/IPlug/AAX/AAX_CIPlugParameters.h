#pragma once
// AAX_CIPlugParameters: the effect-parameters object the AAX bridge builds on.
// It adds the render entry of one instance and the native render procedure
// the description registers, and claims the render context's private block.

#include "AAX_CEffectParameters.h"
#include "AAX_SIPlugRenderInfo.h"

class AAX_CIPlugParameters : public AAX_CEffectParameters
{
public:
  AAX_CIPlugParameters() = default;
  ~AAX_CIPlugParameters() override = default;

  // [audio] One instance's share of a render call. This class renders nothing.
  virtual void RenderAudio(AAX_SIPlugRenderInfo* /*ioRenderInfo*/) {}

  // [host] The host's field-data initialisation. For the private block
  // (field 8, which must be 8 bytes: any other size is reported to the host)
  // the block is cleared and its first 8 bytes receive this object's pointer;
  // a block too small for the pointer is left alone. Every other field is
  // zero-filled by the base. 0.
  AAX_Result ResetFieldData(AAX_CFieldIndex iFieldIndex, void* oData,
                            uint32_t iDataSize) const override;

  // [audio] The native render procedure: RenderAudio of the instance named by
  // each context's private block, in array order. Contexts without a private
  // block or without an instance in it are skipped.
  static void StaticRenderAudio(AAX_SIPlugRenderInfo* const inInstancesBegin[],
                                const void* inInstancesEnd);
};
