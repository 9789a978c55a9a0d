// The stand-in host's instance side: render-context layout, nodes, the
// render call over several contexts, creation through a creation procedure
// and the field-data initialisation.
#include "HostInstance.h"
#include "RecordingEffectParameters.h"

#include "AAX_Errors.h"

#include <gtest/gtest.h>

using namespace aaxhost;

namespace
{
RecordingEffectParameters* gLastMade = nullptr;

IACFUnknown* MakeRecording()
{
  gLastMade = new RecordingEffectParameters({"MasterBypassID", "1"});
  return static_cast<AAX_IACFEffectParameters_V4*>(gLastMade);
}
IACFUnknown* MakeNothing() { return nullptr; }

std::vector<void* const*> gRendered;
void RecordRender(void* const* begin, const void* end)
{
  for (void* const* p = begin; p != end; ++p) gRendered.push_back(static_cast<void* const*>(*p));
}
} // namespace

TEST(RenderContext, FieldsFollowTheTenSlotLayout)
{
  StandInHost host;
  RenderLayout layout;
  layout.sideChain = true;
  layout.inputMIDI = true;
  RenderContext ctx(layout, host.Transport());
  void** f = ctx.Fields();
  EXPECT_EQ(static_cast<float**>(f[0])[1], ctx.Input(1));
  EXPECT_EQ(static_cast<float**>(f[1])[0], ctx.Output(0));
  ctx.SetFrames(77);
  ctx.SetSideChain(1);
  EXPECT_EQ(*static_cast<int32_t*>(f[2]), 77);
  EXPECT_EQ(*static_cast<int32_t*>(f[3]), 1);
  EXPECT_EQ(f[4], nullptr);
  EXPECT_EQ(f[5], static_cast<AAX_IMIDINode*>(ctx.InputMIDI()));
  EXPECT_EQ(f[8], ctx.PrivateBlock());
  // Field 8 first, then the 4-byte stand-ins of the fields not used as nodes.
  const auto& priv = ctx.PrivateFields();
  ASSERT_EQ(priv.size(), 3u);
  EXPECT_EQ(priv[0].field, 8);
  EXPECT_EQ(priv[0].size, 8u);
  EXPECT_EQ(priv[1].field, 6);
  EXPECT_EQ(priv[2].field, 9);
  EXPECT_EQ(priv[2].size, 4u);
  EXPECT_EQ(f[6], priv[1].data);
}

TEST(RenderContext, MidiNodeStreamsPacketsInOrderUpToItsCapacity)
{
  HostMIDINode node(2);
  EXPECT_EQ(node.GetNodeBuffer()->mBufferSize, 0u);
  EXPECT_TRUE(node.Add(5, 0x90, 60, 100));
  EXPECT_TRUE(node.Add(9, 0x80, 60, 0));
  EXPECT_FALSE(node.Add(12, 0x90, 61, 1));
  const AAX_CMidiStream* s = node.GetNodeBuffer();
  ASSERT_EQ(s->mBufferSize, 2u);
  const auto* bytes = reinterpret_cast<const uint8_t*>(s->mBuffer);
  EXPECT_EQ(bytes[16 + 0], 9); // second packet's timestamp
  EXPECT_EQ(bytes[16 + 8], 0x80);
  EXPECT_EQ(bytes[16 + 9], 60);
  EXPECT_EQ(node.GetTransport(), nullptr);
}

TEST(RenderContext, TransportNodeReadsTheHostTransportAtCallTime)
{
  StandInHost host;
  RenderContext ctx(RenderLayout(), host.Transport());
  AAX_ITransport* t = ctx.TransportNode()->GetTransport();
  TransportState st = host.Transport()->State();
  st.tempo = 93.5;
  host.Transport()->SetState(st);
  double tempo = 0;
  EXPECT_EQ(t->GetCurrentTempo(&tempo), 0);
  EXPECT_EQ(tempo, 93.5);
  RenderContext none(RenderLayout(), nullptr);
  EXPECT_EQ(none.TransportNode()->GetTransport()->GetCurrentTempo(&tempo), AAX_ERROR_NULL_OBJECT);
}

TEST(RenderBatch, PassesEveryContextInOneCall)
{
  RenderContext a, b;
  RenderBatch batch{&a, &b};
  gRendered.clear();
  batch.Run(RecordRender);
  ASSERT_EQ(gRendered.size(), 2u);
  EXPECT_EQ(gRendered[0], a.Fields());
  EXPECT_EQ(gRendered[1], b.Fields());
}

TEST(HostInstance, CreatesThroughTheProcedureAndInitialisesFieldData)
{
  StandInHost host;
  const acfUInt32 live = CACFUnknown::GetActiveObjectCount();
  {
    HostInstance inst(host, MakeRecording);
    ASSERT_TRUE(inst.Valid());
    EXPECT_EQ(inst.Version(), 4);
    EXPECT_EQ(gLastMade->GetRefCount(), 1u);
    EXPECT_EQ(inst.Initialize(), 0);
    RenderContext ctx;
    EXPECT_EQ(inst.InitializeFieldData(ctx), 0);
    EXPECT_EQ(gLastMade->Calls().Count("ResetFieldData"), ctx.PrivateFields().size());
  }
  EXPECT_EQ(CACFUnknown::GetActiveObjectCount(), live);
  HostInstance none(host, MakeNothing);
  EXPECT_FALSE(none.Valid());
  EXPECT_EQ(none.Initialize(), AAX_ERROR_NOT_INITIALIZED);
  EXPECT_EQ(none.OpenEditor(MakeNothing), AAX_ERROR_NOT_INITIALIZED);
}
