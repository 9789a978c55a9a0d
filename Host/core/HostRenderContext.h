// The stand-in host's render contexts: ten pointer-sized fields per instance,
// laid out as the effect description registers them, with host-owned audio
// buffers, buffer length, side-chain value, MIDI and transport nodes and the
// instance's private block; and the call of a module's native render
// procedure over one or several contexts.
#pragma once

#include "HostNodes.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace aaxhost
{
// What a context holds, as described by the component's fields.
struct RenderLayout
{
  int inputs = 2;           // field 0: input channel buffers
  int outputs = 2;          // field 1: output channel buffers
  int maxFrames = 1024;     // capacity of every buffer
  bool sideChain = false;   // field 3: side-chain value (absent: null field)
  bool inputMIDI = false;   // field 5: input MIDI node (else 4 bytes of private data)
  bool globalMIDI = false;  // field 6: global MIDI node (else 4 bytes of private data)
  bool transport = true;    // field 7: transport node (else 4 bytes of private data)
  int meters = 0;           // field 9: meter taps (0: 4 bytes of private data)
};

// Field numbers of the ten-slot context.
enum ERenderField : AAX_CFieldIndex
{
  kFieldAudioIn = 0,
  kFieldAudioOut = 1,
  kFieldBufferLength = 2,
  kFieldSideChain = 3,
  kFieldInputMIDI = 5,
  kFieldGlobalMIDI = 6,
  kFieldTransport = 7,
  kFieldPrivate = 8,
  kFieldMeters = 9,
  kNumRenderFields = 10
};

// A private-data field the host initialises through ResetFieldData.
struct PrivateField
{
  AAX_CFieldIndex field;
  void* data;
  uint32_t size;
};

// One instance's context. Not thread-safe: the host fills it, then renders
// with it, on one thread at a time.
class RenderContext
{
public:
  // transport backs the transport node (a counted reference is held); it may
  // be null, and then every transport query fails.
  explicit RenderContext(const RenderLayout& layout = RenderLayout(),
                         HostTransport* transport = nullptr);
  RenderContext(const RenderContext&) = delete;
  RenderContext& operator=(const RenderContext&) = delete;

  const RenderLayout& Layout() const { return mLayout; }
  // The ten fields as the render procedure sees them.
  void** Fields() { return mFields; }
  void*& Field(int index) { return mFields[index]; }

  float* Input(int ch) { return mInPtrs[ch]; }
  float* Output(int ch) { return mOutPtrs[ch]; }
  // Fills every input channel with value / zeroes every output channel.
  void FillInput(int ch, float value);
  void ClearOutputs();

  // The frame count behind field 2 (not checked against maxFrames: hosts can
  // be wrong, and the plug-in must cope).
  void SetFrames(int32_t frames) { mFrames = frames; }
  int32_t Frames() const { return mFrames; }
  // The value behind field 3 (0: disconnected); ignored without a side-chain.
  void SetSideChain(int32_t value) { mSideChainValue = value; }

  // Null when the layout has no such node.
  HostMIDINode* InputMIDI() { return mInputMIDI.get(); }
  HostMIDINode* GlobalMIDI() { return mGlobalMIDI.get(); }
  HostTransportNode* TransportNode() { return mTransportNode.get(); }

  // The instance's 8-byte private block (field 8).
  void* PrivateBlock() { return mPrivate; }
  // Every field registered as private data, field 8 first.
  const std::vector<PrivateField>& PrivateFields() const { return mPrivateFields; }

private:
  RenderLayout mLayout;
  void* mFields[kNumRenderFields] = {};
  std::vector<std::vector<float>> mIn, mOut;
  std::vector<float*> mInPtrs, mOutPtrs;
  std::vector<float> mMeterValues;
  std::vector<float*> mMeterTaps;
  int32_t mFrames = 0;
  int32_t mSideChainValue = 0;
  std::unique_ptr<HostMIDINode> mInputMIDI, mGlobalMIDI;
  std::unique_ptr<HostTransportNode> mTransportNode;
  alignas(8) unsigned char mPrivate[8] = {};
  alignas(4) unsigned char mSpare[4][4] = {}; // 4-byte private data of unused node fields
  std::vector<PrivateField> mPrivateFields;
};

// The native render procedure: pointers to the first context and just past
// the last one; each context pointer points at a context's ten fields.
using NativeRenderProc = void (*)(void* const* begin, const void* end);

// The contexts of one render call, in instance order. Run allocates nothing.
class RenderBatch
{
public:
  RenderBatch() = default;
  explicit RenderBatch(std::initializer_list<RenderContext*> contexts);
  void Add(RenderContext& context) { mContexts.push_back(context.Fields()); }
  // Adds a raw context pointer (tests of contexts a host got wrong).
  void AddRaw(void* context) { mContexts.push_back(context); }
  // [audio] One call of proc with every context.
  void Run(NativeRenderProc proc) const;

private:
  std::vector<void*> mContexts;
};
} // namespace aaxhost
