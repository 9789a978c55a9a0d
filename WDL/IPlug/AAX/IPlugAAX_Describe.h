#pragma once
// The effect description of an IPlug AAX module: the setup record of one
// processing component, the stem format of a channel count, the component
// description that AAX_CIPlugParameters::StaticDescribe performs and the
// effect description that GetEffectDescriptions performs. The bridge supplies
// its own procedures (render, creation, StaticDescribe); the product its
// identity.

#include "AAX.h"
#include "AAX_DescriptionTypes.h"
#include "AAX_ICollection.h"
#include "AAX_IEffectDescriptor.h"

// The input of one component description, with the defaults a fresh record has.
struct AAX_SIPlugSetupInfo
{
  bool mNeedsGlobalMIDI;              // register a global MIDI node in field 6
  const char* mGlobalMIDINodeName;    // "GlobalMIDI"
  uint32_t mGlobalMIDIEventMask;      // 0xFFFF
  bool mNeedsInputMIDI;               // register an input MIDI node in field 5
  const char* mInputMIDINodeName;     // "InputMIDI"
  uint32_t mInputMIDIChannelMask;     // 0xFFFF
  bool mNeedsTransport;               // register a transport node in field 7
  const char* mTransportMIDINodeName; // "Transport" (the node is always named "Transport")
  uint32_t mNumMeters;                // meter taps in field 9
  const AAX_CTypeID* mMeterIDs;       // their identifiers
  int32_t mNumAuxOutputStems;         // at most 16
  const char* mAuxOutputStemNames[16];
  int32_t mAuxOutputStemFormats[16]; // all 1
  int32_t mInputStemFormat;          // 1
  int32_t mOutputStemFormat;         // 1
  bool mProperty151;                 // true: property 151 = 1; false
  bool mProperty60;                  // value of property 60 (0 or 1); true
  AAX_CTypeID mManufacturerID;       // property 11; 'none'
  AAX_CTypeID mProductID;            // property 12; 'none'
  AAX_CTypeID mPluginID;             // property 13 (native); 'none'
  AAX_CTypeID mAudiosuiteID;         // property 14, only when not 'none'
  int32_t mProperty56;               // value of property 56; 0
  bool mWantsSideChain;              // side-chain input in field 3, property 116 = 1

  AAX_SIPlugSetupInfo();
};

// The four-character code 'none'.
constexpr AAX_CTypeID AAX_kTypeID_None = 0x6E6F6E65;

// The stem format of a channel count: 1..8 have a layout; anything else is
// "no format" (0xFF9C0000).
AAX_EStemFormat getStemFormatForChans(int numChans);

// What AAX_CIPlugParameters::StaticDescribe does: one component on the
// descriptor, with renderProc as its native process procedure. The bitwise OR
// of every host result. [host]
AAX_Result IPlugAAX_DescribeComponent(AAX_IEffectDescriptor* descriptor,
                                      const AAX_SIPlugSetupInfo& setupInfo,
                                      AAX_CProcessProc renderProc);

// The constants of the product's description.
struct IPlugAAX_EffectIdentity
{
  const char* names;     // one AddName and AddPackageName per line
  uint32_t category;     // one AddCategory
  const char* channelIO; // "in-out" pairs separated by spaces
  AAX_CTypeID manufacturerID;
  AAX_CTypeID productID;
  AAX_CTypeID nativeTypeIDs[2];  // by configuration index
  AAX_CTypeID offlineTypeIDs[2]; // by configuration index
  const char* inputMIDINodeName;
  const char* effectID;          // reverse-domain identifier
  const char* manufacturerNames; // one SetManufacturerName per line
  uint32_t packageVersion;
};

// The procedures the description registers, from the AAX bridge.
struct IPlugAAX_DescriptionProcs
{
  // AAX_CIPlugParameters::StaticDescribe
  AAX_Result (*describeComponent)(AAX_IEffectDescriptor*, const AAX_SIPlugSetupInfo&);
  AAX_CCreateObjectProc createEffectParameters; // creation procedure 0
  AAX_CCreateObjectProc createEffectGUI;        // creation procedure 1
};

// What GetEffectDescriptions does: one effect into the collection. 0, or the
// bitwise OR of the failing results; assertion failures are reported to the
// host and description goes on. [host]
AAX_Result IPlugAAX_DescribeEffects(AAX_ICollection* collection,
                                    const IPlugAAX_EffectIdentity& identity,
                                    const IPlugAAX_DescriptionProcs& procs);
