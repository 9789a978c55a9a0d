// AAX_CEffectParameters: the plug-in side object the host talks to for an
// effect instance's parameters and state. It owns the parameters (through the
// parameter manager), answers the host's queries by identifier, stores values
// only when the host echoes them back, saves and restores them as the chunk
// 'elck', and turns value changes into coefficient packets.
//
// A derived class supplies EffectInit (which creates the parameters) and may
// override any operation. The host calls one operation at a time per instance;
// the class takes no lock of its own (the packet dispatcher locks internally).
#pragma once

#include "AAX_CChunkDataParser.h"
#include "AAX_CPacketDispatcher.h"
#include "AAX_CParameterManager.h"
#include "AAX_IAutomationDelegate.h"
#include "AAX_IController.h"
#include "AAX_IEffectParameters.h"
#include "AAX_IPageTable.h"
#include "AAX_ITransport.h"
#include "AAX_VController.h"

#include <memory>
#include <set>
#include <string>

class AAX_IDisplayDelegateBase;
class AAX_ITaperDelegateBase;

// The state chunk of the base class and its name.
constexpr AAX_CTypeID AAX_kEffectParametersChunkID = 0x656C636B; // 'elck'
constexpr const char* AAX_kEffectParametersChunkName = "Complete Controls State";
// Notification whose int32 payload switches the "PreviewID" parameter.
constexpr AAX_CTypeID AAX_kNotificationPreviewState = 0x41535076; // 'ASPv'

// Lifecycle: created by the host's creation procedure → Initialize(host) →
// any host calls → Uninitialize → released. Every operation returns 0 or an
// AAX failure code; "unknown" below means the manager has no parameter with
// that identifier, which gives -20001. Thread: [host] unless marked.
class AAX_CEffectParameters : public AAX_IEffectParameters
{
public:
  AAX_CEffectParameters();

  // --- Slots 3-5: life and notifications
  // Makes the controller, automation and transport wrappers on iHost, sets up
  // manager and dispatcher, runs EffectInit (its failure is returned, the
  // wrappers stay), leaves the master bypass out of the chunk, counts the
  // chunked parameters. Initialising again first drops what the last one made.
  AAX_Result Initialize(IACFUnknown* iHost) override;
  // Deletes every parameter, then the controller, automation and transport wrappers.
  AAX_Result Uninitialize() override;
  // 'ASPv': "PreviewID" (when present) is set to (int32 payload != 0). Others
  // are ignored. Always 0.
  AAX_Result NotificationReceived(AAX_CTypeID iNotificationType, const void* iNotificationData,
                                  uint32_t iNotificationDataSize) override;

  // --- Slots 6-23: parameter queries, by identifier
  AAX_Result GetNumberOfParameters(int32_t* oNumControls) const override;
  // "MasterBypassID" when that parameter exists, else the empty text; always 0.
  AAX_Result GetMasterBypassParameter(AAX_IString* oIDString) const override;
  AAX_Result GetParameterIsAutomatable(AAX_CParamID iParameterID,
                                       AAX_CBoolean* oAutomatable) const override;
  // A count that reads negative as int32 gives -20033.
  AAX_Result GetParameterNumberOfSteps(AAX_CParamID iParameterID,
                                       int32_t* oNumSteps) const override;
  // The primary name; the empty text (and 0) for an unknown identifier.
  AAX_Result GetParameterName(AAX_CParamID iParameterID, AAX_IString* oName) const override;
  // The longest newline-separated variant of the shortened name that fits in
  // iNameLength, else its first iNameLength characters. Null oName: -20002.
  AAX_Result GetParameterNameOfLength(AAX_CParamID iParameterID, AAX_IString* oName,
                                      int32_t iNameLength) const override;
  AAX_Result GetParameterDefaultNormalizedValue(AAX_CParamID iParameterID,
                                                double* oValue) const override;
  AAX_Result SetParameterDefaultNormalizedValue(AAX_CParamID iParameterID, double iValue) override;
  AAX_Result GetParameterType(AAX_CParamID iParameterID,
                              AAX_EParameterType* oParameterType) const override;
  AAX_Result GetParameterOrientation(AAX_CParamID iParameterID,
                                     int32_t* oParameterOrientation) const override;
  // The parameter object (owned by this object) or null with -20001.
  AAX_Result GetParameter(AAX_CParamID iParameterID, AAX_IParameter** oParameter) override;
  // The position in insertion order; -1 with -20001 when absent.
  AAX_Result GetParameterIndex(AAX_CParamID iParameterID, int32_t* oControlIndex) const override;
  // The identifier; the empty text with -20001 for a bad index.
  AAX_Result GetParameterIDFromIndex(int32_t iControlIndex,
                                     AAX_IString* oParameterIDString) const override;
  // Not supported: output 0, -20009.
  AAX_Result GetParameterValueInfo(AAX_CParamID iParameterID, int32_t iSelector,
                                   int32_t* oValue) const override;
  // Parsing failure: -20002.
  AAX_Result GetParameterValueFromString(AAX_CParamID iParameterID, double* oValue,
                                         const AAX_IString& iValueString) const override;
  // Conversion failure: -20002, and the text is not copied out.
  AAX_Result GetParameterStringFromValue(AAX_CParamID iParameterID, double iValue,
                                         AAX_IString* oValueString,
                                         int32_t iMaxLength) const override;
  // The current value's text (the parameter ignores the limit); always copied; 0.
  AAX_Result GetParameterValueString(AAX_CParamID iParameterID, AAX_IString* oValueString,
                                     int32_t iMaxLength) const override;
  AAX_Result GetParameterNormalizedValue(AAX_CParamID iParameterID,
                                         double* oValue) const override;

  // --- Slots 24-30: value changes
  // The parameter's SetNormalizedValue: with an automation delegate this only
  // posts a set request; the value arrives through slot 29.
  AAX_Result SetParameterNormalizedValue(AAX_CParamID iParameterID, double iValue) override;
  // Current value (slot 23) + delta, clamped to 0..1, through slot 24.
  AAX_Result SetParameterNormalizedRelative(AAX_CParamID iParameterID, double iValue) override;
  AAX_Result TouchParameter(AAX_CParamID iParameterID) override;
  AAX_Result ReleaseParameter(AAX_CParamID iParameterID) override;
  AAX_Result UpdateParameterTouch(AAX_CParamID iParameterID, AAX_CBoolean iTouchState) override;
  // The host's echo: stores the value, marks the packet dirty, counts a change
  // when the value differs from the one before; the dispatcher's result.
  AAX_Result UpdateParameterNormalizedValue(AAX_CParamID iParameterID, double iValue,
                                            AAX_EUpdateSource iSource) override;
  // Current value + delta, clamped to 0..1, through slot 29 (source 0).
  AAX_Result UpdateParameterNormalizedRelative(AAX_CParamID iParameterID, double iValue) override;

  // --- Slots 31-32: processing support
  // Posts every dirty packet; the dispatcher's result.
  AAX_Result GenerateCoefficients() override;
  // Zero-fills iDataSize bytes of oData.
  AAX_Result ResetFieldData(AAX_CFieldIndex iFieldIndex, void* oData,
                            uint32_t iDataSize) const override;

  // --- Slots 33-38: the one state chunk 'elck'
  AAX_Result GetNumberOfChunks(int32_t* oNumChunks) const override; // 1
  // Index 0 → 'elck'; any other → id 0 and -20006.
  AAX_Result GetChunkIDFromIndex(int32_t iIndex, AAX_CTypeID* oChunkID) const override;
  // Builds the chunk and remembers its size. Other ids: size 0, -20007.
  AAX_Result GetChunkSize(AAX_CTypeID iChunkID, uint32_t* oSize) const override;
  // Fills the host's record (header, name, data). -20008 unless GetChunkSize
  // was asked first and the size is unchanged; other ids -20007.
  AAX_Result GetChunk(AAX_CTypeID iChunkID, AAX_SPlugInChunk* oChunk) const override;
  // Applies every entry that matches a parameter's kind; others keep their
  // values. The record comes from a saved session: any bytes. Other ids -20007.
  AAX_Result SetChunk(AAX_CTypeID iChunkID, const AAX_SPlugInChunk* iChunk) override;
  // isEqual = 1 when every chunked parameter matches its entry (floating values
  // in single precision) or the record is not 'elck'; always 0.
  AAX_Result CompareActiveChunk(const AAX_SPlugInChunk* iChunk,
                                AAX_CBoolean* oIsEqual) const override;
  // The change count (written only when not negative); 0.
  AAX_Result GetNumberOfChanges(int32_t* oNumChanges) const override;

  // --- Slots 40-44, 45-47 (version 2), 48-49 (version 3), 50 (version 4)
  AAX_Result TimerWakeup() override; // 0
  AAX_Result GetCurveData(AAX_CTypeID iCurveType, const float* iValues, uint32_t iNumValues,
                          float* oValues) const override; // -20009
  // *oDataWritten = 0; 0.
  AAX_Result GetCustomData(AAX_CTypeID iDataBlockID, uint32_t iDataSize, void* oData,
                           uint32_t* oDataWritten) const override;
  AAX_Result SetCustomData(AAX_CTypeID iDataBlockID, uint32_t iDataSize,
                           const void* iData) override; // 0
  AAX_Result DoMIDITransfers() override;                // 0
  AAX_Result RenderAudio_Hybrid(AAX_SHybridRenderInfo* ioRenderInfo) override; // -20009
  AAX_Result UpdateMIDINodes(AAX_CFieldIndex iFieldIndex,
                             AAX_CMidiPacket& iPacket) override; // 0
  AAX_Result UpdateControlMIDINodes(AAX_CTypeID iNodeID,
                                    AAX_CMidiPacket& iPacket) override; // 0
  AAX_Result GetCurveDataMeterIds(AAX_CTypeID iCurveType, uint32_t* oXMeterId,
                                  uint32_t* oYMeterId) const override; // -20009
  AAX_Result GetCurveDataDisplayRange(AAX_CTypeID iCurveType, float* oXMin, float* oXMax,
                                      float* oYMin, float* oYMax) const override; // -20009
  // Wraps ioPageTableUnknown in an AAX_VPageTable for this call; when the host
  // table answers, the page-table form below decides; otherwise 0.
  AAX_Result UpdatePageTable(uint32_t iTableType, int32_t iTablePageSize,
                             IACFUnknown* iHostUnknown,
                             IACFUnknown* ioPageTableUnknown) const override;

  // --- Added after the slots
  ACFRESULT InternalQueryInterface(const acfIID& riid, void** ppvObjOut) override;
  ~AAX_CEffectParameters() override;
  // Creates the parameters; called by Initialize. Base: 0.
  virtual AAX_Result EffectInit();
  // Fills a page table for the host. Base: -20009. A derived class that
  // overrides one UpdatePageTable form brings in the other with `using`.
  virtual AAX_Result UpdatePageTable(uint32_t iTableType, int32_t iTablePageSize,
                                     AAX_IPageTable& ioPageTable) const;

  // --- Plug-in side helpers
  // False without an automation delegate or when the host's touch query fails.
  virtual bool IsParameterTouched(AAX_CParamID iParameterID) const;
  // False for update sources 1, 2 and 3; otherwise IsParameterTouched.
  virtual bool IsParameterLinkReady(AAX_CParamID iParameterID, AAX_EUpdateSource iSource) const;
  // The parameter takes a clone. Without preserveValue the packet is marked dirty.
  AAX_Result SetTaperDelegate(AAX_CParamID iParameterID, AAX_ITaperDelegateBase& iTaperDelegate,
                              bool iPreserveValue);
  // The parameter takes a clone.
  AAX_Result SetDisplayDelegate(AAX_CParamID iParameterID,
                                AAX_IDisplayDelegateBase& iDisplayDelegate);
  // Leaves the identifier out of the state chunk (null is ignored).
  void FilterParameterIDOnSave(AAX_CParamID iParameterID);

  // The wrappers made by Initialize (owned here; null before it and after Uninitialize).
  AAX_IController* Controller();
  const AAX_IController* Controller() const;
  AAX_IAutomationDelegate* AutomationDelegate();
  const AAX_IAutomationDelegate* AutomationDelegate() const;
  AAX_ITransport* Transport();
  const AAX_ITransport* Transport() const;

  AAX_CEffectParameters(const AAX_CEffectParameters&) = delete;
  AAX_CEffectParameters& operator=(const AAX_CEffectParameters&) = delete;

protected:
  // Fills the chunk parser with every unfiltered parameter's value, probing
  // float, int32, bool, double, then string.
  void BuildChunkData() const;

  // In this order, so that derived classes and tools can rely on them.
  int32_t mNumPlugInChanges = 0;     // changes stored by UpdateParameterNormalizedValue
  mutable int32_t mChunkSize = 0;    // size last reported by GetChunkSize
  mutable AAX_CChunkDataParser mChunkParser;
  int32_t mNumChunkedParameters = 0; // parameters saved in the chunk
  AAX_CPacketDispatcher mPacketDispatcher;
  AAX_CParameterManager mParameterManager;
  std::set<std::string> mFilteredParameters; // identifiers left out of the chunk
  std::unique_ptr<AAX_VController> mController; // its type, so hot callers skip a dispatch
  std::unique_ptr<AAX_ITransport> mTransport;
  std::unique_ptr<AAX_IAutomationDelegate> mAutomationDelegate;

private:
  // Deletes the parameters, then the wrappers they point to (the parameters
  // unregister from the automation delegate as they go).
  void ReleaseInstanceObjects();
};

// Normalised value ↔ the full int32 range (0.0 → -2147483648, 1.0 → 2147483647).
// x is clamped to 0..1 first; the result is rounded half up.
int32_t NormalizedToInt32(double normalizedValue);
double Int32ToNormalized(int32_t value);
// 1.0 for true, 0.0 for false.
double BoolToNormalized(bool value);
