// AAX_IComponentDescriptor: the module's view of one processing component
// being described; AAX_VComponentDescriptor implements it.
#pragma once

#include "AAX.h"
#include "AAX_DescriptionTypes.h"
#include "AAX_IPropertyMap.h"

// Results: 0 or a failure code (-20004 without the host interface, -20009
// without a later version it needs). Property maps returned are owned by the
// descriptor. Thread: [host] (registration only).
class AAX_IComponentDescriptor
{
public:
  virtual ~AAX_IComponentDescriptor() {}

  virtual AAX_Result Clear() = 0;
  virtual AAX_Result AddAudioIn(AAX_CFieldIndex inFieldIndex) = 0;
  virtual AAX_Result AddAudioOut(AAX_CFieldIndex inFieldIndex) = 0;
  virtual AAX_Result AddAudioBufferLength(AAX_CFieldIndex inFieldIndex) = 0;
  virtual AAX_Result AddSampleRate(AAX_CFieldIndex inFieldIndex) = 0;
  virtual AAX_Result AddClock(AAX_CFieldIndex inFieldIndex) = 0;
  virtual AAX_Result AddSideChainIn(AAX_CFieldIndex inFieldIndex) = 0;
  virtual AAX_Result AddDataInPort(AAX_CFieldIndex inFieldIndex, uint32_t inPacketSize,
                                   AAX_EDataInPortType inPortType) = 0;
  virtual AAX_Result AddAuxOutputStem(AAX_CFieldIndex inFieldIndex, int32_t inStemFormat,
                                      const char* inNameUTF8) = 0;
  virtual AAX_Result AddPrivateData(AAX_CFieldIndex inFieldIndex, int32_t inDataSize,
                                    uint32_t inOptions) = 0;
  virtual AAX_Result AddDmaInstance(AAX_CFieldIndex inFieldIndex, AAX_EDmaMode inMode) = 0;
  virtual AAX_Result AddMeters(AAX_CFieldIndex inFieldIndex, const AAX_CTypeID* inMeterIDs,
                               uint32_t inMeterCount) = 0;
  virtual AAX_Result AddMIDINode(AAX_CFieldIndex inFieldIndex, AAX_EMIDINodeType inNodeType,
                                 const char* inNodeName, uint32_t inChannelMask) = 0;
  virtual AAX_Result AddReservedField(AAX_CFieldIndex inFieldIndex, uint32_t inFieldType) = 0;
  virtual AAX_Result AddProcessProc_Native(AAX_CProcessProc inProcessProc,
                                           AAX_IPropertyMap* inProperties,
                                           AAX_CInstanceInitProc inInstanceInitProc,
                                           AAX_CBackgroundProc inBackgroundProc,
                                           AAX_CSelector* outProcID) = 0;
  virtual AAX_Result
  AddProcessProc_TI(const char* inDLLFileNameUTF8, const char* inProcessProcSymbol,
                    AAX_IPropertyMap* inProperties, const char* inInstanceInitProcSymbol,
                    const char* inBackgroundProcSymbol, AAX_CSelector* outProcID) = 0;
  virtual AAX_Result AddTemporaryData(AAX_CFieldIndex inFieldIndex, uint32_t inDataElementSize) = 0;
  // A new, empty property map owned by this descriptor (never null).
  virtual AAX_IPropertyMap* NewPropertyMap() const = 0;
  // A new map owned by this descriptor holding a copy of what inPropertyMap holds.
  virtual AAX_IPropertyMap* DuplicatePropertyMap(AAX_IPropertyMap* inPropertyMap) const = 0;
  // Registers the process procedures the map names; the assigned IDs, ended
  // by 0, go to outProcIDs when given (inProcIDsSize entries of room).
  virtual AAX_Result AddProcessProc(AAX_IPropertyMap* inProperties, AAX_CSelector* outProcIDs,
                                    int32_t inProcIDsSize) = 0;
};
