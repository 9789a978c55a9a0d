// The effect-parameters interface, versions 1 to 4.
// Implemented by the plug-in (AAX_CEffectParameters); the host calls it by slot.
// Slots 0-44 form version 1, 45-47 are added by version 2, 48-49 by version 3,
// 50 by version 4.
#pragma once

#include "ACF/acfunknown.h"
#include "AAX.h"
#include "AAX_IString.h"

class AAX_IParameter;         // host-side parameter object
struct AAX_SPlugInChunk;      // chunk record laid out by the host
struct AAX_SHybridRenderInfo; // hybrid rendering; not used by the system

// Contract: every operation returns 0 on success or an AAX failure code; out
// pointers belong to the host, texts are copied into the host's AAX_IString.
// Thread: [host], one call at a time per instance (ResetFieldData and the
// coefficient calls may come from the host's processing set-up).
class AAX_IACFEffectParameters : public IACFUnknown
{
public:
  virtual AAX_Result Initialize(IACFUnknown* iController) = 0;                        // 3
  virtual AAX_Result Uninitialize() = 0;                                              // 4
  virtual AAX_Result NotificationReceived(AAX_CTypeID iNotificationType,              //
                                          const void* iNotificationData,              //
                                          uint32_t iNotificationDataSize) = 0;        // 5
  virtual AAX_Result GetNumberOfParameters(int32_t* oNumControls) const = 0;          // 6
  virtual AAX_Result GetMasterBypassParameter(AAX_IString* oIDString) const = 0;      // 7
  virtual AAX_Result GetParameterIsAutomatable(AAX_CParamID iParameterID,             //
                                               AAX_CBoolean* oAutomatable) const = 0; // 8
  virtual AAX_Result GetParameterNumberOfSteps(AAX_CParamID iParameterID,             //
                                               int32_t* oNumSteps) const = 0;         // 9
  virtual AAX_Result GetParameterName(AAX_CParamID iParameterID,                      //
                                      AAX_IString* oName) const = 0;                  // 10
  virtual AAX_Result GetParameterNameOfLength(AAX_CParamID iParameterID, AAX_IString* oName,
                                              int32_t iNameLength) const = 0;            // 11
  virtual AAX_Result GetParameterDefaultNormalizedValue(AAX_CParamID iParameterID,       //
                                                        double* oValue) const = 0;       // 12
  virtual AAX_Result SetParameterDefaultNormalizedValue(AAX_CParamID iParameterID,       //
                                                        double iValue) = 0;              // 13
  virtual AAX_Result GetParameterType(AAX_CParamID iParameterID,                         //
                                      AAX_EParameterType* oParameterType) const = 0;     // 14
  virtual AAX_Result GetParameterOrientation(AAX_CParamID iParameterID,                  //
                                             int32_t* oParameterOrientation) const = 0;  // 15
  virtual AAX_Result GetParameter(AAX_CParamID iParameterID,                             //
                                  AAX_IParameter** oParameter) = 0;                      // 16
  virtual AAX_Result GetParameterIndex(AAX_CParamID iParameterID,                        //
                                       int32_t* oControlIndex) const = 0;                // 17
  virtual AAX_Result GetParameterIDFromIndex(int32_t iControlIndex,                      //
                                             AAX_IString* oParameterIDString) const = 0; // 18
  virtual AAX_Result GetParameterValueInfo(AAX_CParamID iParameterID, int32_t iSelector,
                                           int32_t* oValue) const = 0; // 19
  virtual AAX_Result GetParameterValueFromString(AAX_CParamID iParameterID, double* oValue,
                                                 const AAX_IString& iValueString) const = 0; // 20
  virtual AAX_Result GetParameterStringFromValue(AAX_CParamID iParameterID, double iValue,
                                                 AAX_IString* oValueString,     //
                                                 int32_t iMaxLength) const = 0; // 21
  virtual AAX_Result GetParameterValueString(AAX_CParamID iParameterID,         //
                                             AAX_IString* oValueString,         //
                                             int32_t iMaxLength) const = 0;     // 22
  virtual AAX_Result GetParameterNormalizedValue(AAX_CParamID iParameterID,     //
                                                 double* oValue) const = 0;     // 23
  virtual AAX_Result SetParameterNormalizedValue(AAX_CParamID iParameterID,     //
                                                 double iValue) = 0;            // 24
  virtual AAX_Result SetParameterNormalizedRelative(AAX_CParamID iParameterID,  //
                                                    double iValue) = 0;         // 25
  virtual AAX_Result TouchParameter(AAX_CParamID iParameterID) = 0;             // 26
  virtual AAX_Result ReleaseParameter(AAX_CParamID iParameterID) = 0;           // 27
  virtual AAX_Result UpdateParameterTouch(AAX_CParamID iParameterID,            //
                                          AAX_CBoolean iTouchState) = 0;        // 28
  virtual AAX_Result UpdateParameterNormalizedValue(AAX_CParamID iParameterID, double iValue,
                                                    AAX_EUpdateSource iSource) = 0;        // 29
  virtual AAX_Result UpdateParameterNormalizedRelative(AAX_CParamID iParameterID,          //
                                                       double iValue) = 0;                 // 30
  virtual AAX_Result GenerateCoefficients() = 0;                                           // 31
  virtual AAX_Result ResetFieldData(AAX_CFieldIndex iFieldIndex, void* oData,              //
                                    uint32_t iDataSize) const = 0;                         // 32
  virtual AAX_Result GetNumberOfChunks(int32_t* oNumChunks) const = 0;                     // 33
  virtual AAX_Result GetChunkIDFromIndex(int32_t iIndex, AAX_CTypeID* oChunkID) const = 0; // 34
  virtual AAX_Result GetChunkSize(AAX_CTypeID iChunkID, uint32_t* oSize) const = 0;        // 35
  virtual AAX_Result GetChunk(AAX_CTypeID iChunkID, AAX_SPlugInChunk* oChunk) const = 0;   // 36
  virtual AAX_Result SetChunk(AAX_CTypeID iChunkID, const AAX_SPlugInChunk* iChunk) = 0;   // 37
  virtual AAX_Result CompareActiveChunk(const AAX_SPlugInChunk* iChunk,                    //
                                        AAX_CBoolean* oIsEqual) const = 0;                 // 38
  virtual AAX_Result GetNumberOfChanges(int32_t* oNumChanges) const = 0;                   // 39
  virtual AAX_Result TimerWakeup() = 0;                                                    // 40
  virtual AAX_Result GetCurveData(AAX_CTypeID iCurveType, const float* iValues,            //
                                  uint32_t iNumValues, float* oValues) const = 0;          // 41
  virtual AAX_Result GetCustomData(AAX_CTypeID iDataBlockID, uint32_t iDataSize, void* oData,
                                   uint32_t* oDataWritten) const = 0;            // 42
  virtual AAX_Result SetCustomData(AAX_CTypeID iDataBlockID, uint32_t iDataSize, //
                                   const void* iData) = 0;                       // 43
  virtual AAX_Result DoMIDITransfers() = 0;                                      // 44

protected:
  ~AAX_IACFEffectParameters() = default;
};

class AAX_IACFEffectParameters_V2 : public AAX_IACFEffectParameters
{
public:
  virtual AAX_Result RenderAudio_Hybrid(AAX_SHybridRenderInfo* ioRenderInfo) = 0; // 45
  virtual AAX_Result UpdateMIDINodes(AAX_CFieldIndex iFieldIndex,                 //
                                     AAX_CMidiPacket& iPacket) = 0;               // 46
  virtual AAX_Result UpdateControlMIDINodes(AAX_CTypeID iNodeID,                  //
                                            AAX_CMidiPacket& iPacket) = 0;        // 47

protected:
  ~AAX_IACFEffectParameters_V2() = default;
};

class AAX_IACFEffectParameters_V3 : public AAX_IACFEffectParameters_V2
{
public:
  virtual AAX_Result GetCurveDataMeterIds(AAX_CTypeID iCurveType, uint32_t* oXMeterId,
                                          uint32_t* oYMeterId) const = 0;           // 48
  virtual AAX_Result GetCurveDataDisplayRange(AAX_CTypeID iCurveType, float* oXMin, //
                                              float* oXMax, float* oYMin,           //
                                              float* oYMax) const = 0;              // 49

protected:
  ~AAX_IACFEffectParameters_V3() = default;
};

class AAX_IACFEffectParameters_V4 : public AAX_IACFEffectParameters_V3
{
public:
  // 50: the host-object form (AAX_CEffectParameters adds a page-table form).
  virtual AAX_Result UpdatePageTable(uint32_t iTableType, int32_t iTablePageSize,
                                     IACFUnknown* iHostUnknown,
                                     IACFUnknown* ioPageTableUnknown) const = 0;

protected:
  ~AAX_IACFEffectParameters_V4() = default;
};
