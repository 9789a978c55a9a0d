// The stand-in host's component descriptor (AAXCompID_AAXComponentDescriptor),
// versions 1 to 3: records fields and process procedures into a
// DescribedComponent.
#pragma once

#include "AAX_IACFComponentDescriptor.h"
#include "Description.h"
#include "HostComponent.h"

namespace aaxhost
{
class HostComponentDescriptor final : public AAX_IACFComponentDescriptor_V3, public Component
{
public:
  AAXHOST_DECLARE_UNKNOWN()

  explicit HostComponentDescriptor(int version = 3); // 1..3

  // Field operations record one DescribedField each and return 0; a negative
  // field index gives AAX_ERROR_INVALID_FIELD_INDEX.
  AAX_Result Clear() override; // forgets every field and procedure
  AAX_Result AddAudioIn(AAX_CFieldIndex inFieldIndex) override;
  AAX_Result AddAudioOut(AAX_CFieldIndex inFieldIndex) override;
  AAX_Result AddAudioBufferLength(AAX_CFieldIndex inFieldIndex) override;
  AAX_Result AddSampleRate(AAX_CFieldIndex inFieldIndex) override;
  AAX_Result AddClock(AAX_CFieldIndex inFieldIndex) override;
  AAX_Result AddSideChainIn(AAX_CFieldIndex inFieldIndex) override;
  AAX_Result AddDataInPort(AAX_CFieldIndex inFieldIndex, uint32_t inPacketSize,
                           AAX_EDataInPortType inPortType) override;
  AAX_Result AddAuxOutputStem(AAX_CFieldIndex inFieldIndex, int32_t inStemFormat,
                              const char* inNameUTF8) override;
  AAX_Result AddPrivateData(AAX_CFieldIndex inFieldIndex, int32_t inDataSize,
                            uint32_t inOptions) override;
  AAX_Result AddDmaInstance(AAX_CFieldIndex inFieldIndex, AAX_EDmaMode inMode) override;
  // A null array with a non-zero count: AAX_ERROR_NULL_ARGUMENT.
  AAX_Result AddMeters(AAX_CFieldIndex inFieldIndex, const AAX_CTypeID* inMeterIDs,
                       uint32_t inMeterCount) override;
  AAX_Result AddMIDINode(AAX_CFieldIndex inFieldIndex, AAX_EMIDINodeType inNodeType,
                         const char* inNodeName, uint32_t inChannelMask) override;
  AAX_Result AddReservedField(AAX_CFieldIndex inFieldIndex, uint32_t inFieldType) override;
  // A null process procedure: AAX_ERROR_NULL_ARGUMENT. The map's properties
  // are copied; the new ID goes to outProcID when given.
  AAX_Result AddProcessProc_Native(AAX_CProcessProc inProcessProc, IACFUnknown* inProperties,
                                   AAX_CInstanceInitProc inInstanceInitProc,
                                   AAX_CBackgroundProc inBackgroundProc,
                                   AAX_CSelector* outProcID) override;
  // A null file or procedure name: AAX_ERROR_NULL_ARGUMENT.
  AAX_Result AddProcessProc_TI(const char* inDLLFileNameUTF8, const char* inProcessProcSymbol,
                               IACFUnknown* inProperties, const char* inInstanceInitProcSymbol,
                               const char* inBackgroundProcSymbol,
                               AAX_CSelector* outProcID) override;
  AAX_Result AddTemporaryData(AAX_CFieldIndex inFieldIndex, uint32_t inDataElementSize) override;
  // Reads the procedures out of the map's pointer properties: native when it
  // names a native or offline plug-in ID, TI when it names a TI one.
  // AAX_ERROR_NULL_OBJECT for a map that is not ours; AAX_ERROR_ARGUMENT_BUFFER_OVERFLOW
  // when the IDs and their closing 0 do not fit.
  AAX_Result AddProcessProc(IACFUnknown* inProperties, AAX_CSelector* outProcIDs,
                            int32_t inProcIDsSize) override;

  DescribedComponent Snapshot() const; // [any]

private:
  ~HostComponentDescriptor() override = default;
  void* Answer(const acfIID& iid) override;
  AAX_Result AddField(AAX_CFieldIndex index, const char* kind, std::vector<int64_t> numbers,
                      const char* name = nullptr);

  const int mVersion;
  mutable std::mutex mMutex;
  DescribedComponent mComponent;
};
} // namespace aaxhost
