#pragma once
// The render context the host fills for each instance before each call of
// the native render procedure, and the private block it points at. Both are
// shared with the host by layout: a field index in the effect description is
// a slot number here.

#include "AAX.h"
#include "AAX_IMIDINode.h"

#include <cstddef>
#include <cstdint>

class AAX_CIPlugParameters;

// The instance's private block (field 8): the host allocates 8 bytes per
// instance and lets the plug-in fill them through ResetFieldData.
struct AAX_SIPlugPrivateData
{
  AAX_CIPlugParameters* mPlug;
};
static_assert(sizeof(AAX_SIPlugPrivateData) == 8, "the private block is 8 bytes");

// Ten pointer-sized slots. Slot 4 is neither described nor read.
struct AAX_SIPlugRenderInfo
{
  // Slot numbers, as registered in the description.
  enum EField : AAX_CFieldIndex
  {
    kAudioInputs = 0,
    kAudioOutputs = 1,
    kBufferLength = 2,
    kSideChain = 3,
    kUnused = 4,
    kInputMIDINode = 5,
    kGlobalMIDINode = 6,
    kTransportNode = 7,
    kPrivateData = 8,
    kMeters = 9,
    kNumFields = 10
  };

  float** mAudioInputs;                // one 32-bit float buffer per input channel
  float** mAudioOutputs;               // one 32-bit float buffer per output channel
  int32_t* mNumSamples;                // frames in this call
  int32_t* mSideChain;                 // non-zero while a side-chain is connected
  void* mUnused;                       // never read
  AAX_IMIDINode* mInputNode;           // input MIDI node (or 4 bytes of private data)
  AAX_IMIDINode* mGlobalNode;          // global MIDI node (or 4 bytes of private data)
  AAX_IMIDINode* mTransportNode;       // transport node (or 4 bytes of private data)
  AAX_SIPlugPrivateData* mPrivateData; // this instance's private block
  float** mMeters;                     // meter taps (or 4 bytes of private data)
};

static_assert(sizeof(AAX_SIPlugRenderInfo) == AAX_SIPlugRenderInfo::kNumFields * sizeof(void*),
              "ten pointer-sized slots");
static_assert(offsetof(AAX_SIPlugRenderInfo, mNumSamples) ==
                  AAX_SIPlugRenderInfo::kBufferLength * sizeof(void*),
              "slot numbers follow the declaration order");
static_assert(offsetof(AAX_SIPlugRenderInfo, mTransportNode) ==
                  AAX_SIPlugRenderInfo::kTransportNode * sizeof(void*),
              "slot numbers follow the declaration order");
static_assert(offsetof(AAX_SIPlugRenderInfo, mMeters) ==
                  AAX_SIPlugRenderInfo::kMeters * sizeof(void*),
              "slot numbers follow the declaration order");
