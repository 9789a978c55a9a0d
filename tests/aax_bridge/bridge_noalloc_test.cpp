// The host's render call allocates nothing: a counting allocator around
// StaticRenderAudio over two host-built contexts, one with MIDI packets.
#include "../iplug/hosted_quorvane.h"
#include "bridge_plugs.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "../iplug/counting_allocator.h"

using namespace aaxhost;

TEST(BridgeNoAllocation, RenderProcedureAllocatesNothingWithMidiAndBypass)
{
  StandInHost host;
  HostInstance quorvane(host, QuorvaneCreate());
  HostInstance midi(host, AsCreationProc(&RecordingAAXPlug::CreateMidi));
  RenderLayout midiLayout;
  midiLayout.inputMIDI = true;
  RenderContext qc(RenderLayout(), host.Transport()), mc(midiLayout, host.Transport());
  ASSERT_EQ(quorvane.Initialize(), 0);
  ASSERT_EQ(midi.Initialize(), 0);
  ASSERT_EQ(quorvane.InitializeFieldData(qc), 0);
  ASSERT_EQ(midi.InitializeFieldData(mc), 0);
  auto* midiPlug = PlugOf<RecordingAAXPlug>(midi);
  quorvane.Parameters()->UpdateParameterNormalizedValue("1", 1.0, AAX_EUpdateSource(0));
  qc.FillInput(0, 0.25f);
  qc.FillInput(1, -0.5f);
  RenderBatch batch{&qc, &mc};
  // The render call asks the controller for the stem formats; the host's
  // call log would allocate there.
  host.Controller()->Calls().SetEnabled(false);

  long during = 0;
  for (int block = 0; block < 6; ++block)
  {
    // Between blocks the host queues MIDI and changes the bypass (outside
    // the count: the host's own bookkeeping may allocate).
    midiPlug->midi.clear();
    mc.InputMIDI()->Clear();
    for (uint32_t i = 0; i < 8; ++i) mc.InputMIDI()->Add(i * 4, 0x90, static_cast<uint8_t>(60 + i), 100);
    quorvane.Parameters()->UpdateParameterNormalizedValue("MasterBypassID", block % 2, AAX_EUpdateSource(0));
    qc.SetFrames(block == 5 ? 1024 : 512);
    mc.SetFrames(256);

    const long before = gAllocations.load();
    batch.Run(QuorvaneRender());
    during += gAllocations.load() - before;
    ASSERT_EQ(midiPlug->midi.size(), 8u);
  }
  EXPECT_EQ(during, 0);
  EXPECT_EQ(qc.Output(0)[0], 0.25f); // last block bypassed: not swapped
}

TEST(BridgeNoAllocation, TheCounterSeesAllocations)
{
  const long before = gAllocations.load();
  std::unique_ptr<int> p(new int(3));
  EXPECT_EQ(gAllocations.load() - before, 1);
}
