// AAX_VComponentDescriptor: forwards AAX_IComponentDescriptor to a host
// component descriptor, versions 1 to 3, and owns the property maps it makes.
// Missing version 1 → -20004, missing version 2 → -20009. Without version 3,
// AddProcessProc registers the procedures itself through version 1.
// Thread: [host] (registration only).
#pragma once

#include "ACF/ACFPtr.h"
#include "AAX_IACFComponentDescriptor.h"
#include "AAX_IComponentDescriptor.h"
#include "AAX_VPropertyMap.h"

#include <memory>
#include <vector>

class AAX_VComponentDescriptor : public AAX_IComponentDescriptor
{
public:
  // Creates the host component through the factory of inHostUnknown (borrowed,
  // must outlive the wrapper).
  explicit AAX_VComponentDescriptor(IACFUnknown* inHostUnknown);
  ~AAX_VComponentDescriptor() override;

  AAX_Result Clear() override;
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
  AAX_Result AddMeters(AAX_CFieldIndex inFieldIndex, const AAX_CTypeID* inMeterIDs,
                       uint32_t inMeterCount) override;
  AAX_Result AddMIDINode(AAX_CFieldIndex inFieldIndex, AAX_EMIDINodeType inNodeType,
                         const char* inNodeName, uint32_t inChannelMask) override;
  AAX_Result AddReservedField(AAX_CFieldIndex inFieldIndex, uint32_t inFieldType) override;
  AAX_Result AddProcessProc_Native(AAX_CProcessProc inProcessProc, AAX_IPropertyMap* inProperties,
                                   AAX_CInstanceInitProc inInstanceInitProc,
                                   AAX_CBackgroundProc inBackgroundProc,
                                   AAX_CSelector* outProcID) override;
  AAX_Result AddProcessProc_TI(const char* inDLLFileNameUTF8, const char* inProcessProcSymbol,
                               AAX_IPropertyMap* inProperties, const char* inInstanceInitProcSymbol,
                               const char* inBackgroundProcSymbol,
                               AAX_CSelector* outProcID) override;
  AAX_Result AddTemporaryData(AAX_CFieldIndex inFieldIndex, uint32_t inDataElementSize) override;
  AAX_IPropertyMap* NewPropertyMap() const override;
  AAX_IPropertyMap* DuplicatePropertyMap(AAX_IPropertyMap* inPropertyMap) const override;
  // Version 3: forwarded. Without it (and with version 1 and a map): the
  // native procedure (when the map names a native or offline plug-in ID), then
  // the TI procedure (when it names a TI plug-in ID), each through version 1;
  // the IDs, ended by 0, into outProcIDs (-20046 when they do not fit).
  AAX_Result AddProcessProc(AAX_IPropertyMap* inProperties, AAX_CSelector* outProcIDs,
                            int32_t inProcIDsSize) override;

  // The host interface (borrowed), or null.
  IACFUnknown* GetIUnknown() const;

  AAX_VComponentDescriptor(const AAX_VComponentDescriptor&) = delete;
  AAX_VComponentDescriptor& operator=(const AAX_VComponentDescriptor&) = delete;

private:
  AAX_Result ManuallyAddProcessProcs(AAX_IPropertyMap& inProperties, AAX_CSelector* outProcIDs,
                                     int32_t inProcIDsSize);

  IACFUnknown* mHostUnknown;
  ACFPtr<AAX_IACFComponentDescriptor> mIACFComponentDescriptor;
  ACFPtr<AAX_IACFComponentDescriptor_V2> mIACFComponentDescriptorV2;
  ACFPtr<AAX_IACFComponentDescriptor_V3> mIACFComponentDescriptorV3;
  mutable std::vector<std::unique_ptr<AAX_VPropertyMap>> mPropertyMaps;
};
