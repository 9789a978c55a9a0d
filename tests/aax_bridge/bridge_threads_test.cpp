// Four threads on one instance, as a session with automation, an open editor
// and state saves runs: the render thread, the host's automation, an editor
// clicking its switches (headless) and a thread saving and restoring the
// state chunk. Run under ThreadSanitizer for races; every block must show
// one consistent pair of switch states.
#include "editor_plug.h"

#include "AAX_SPlugInChunk.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>
#include <vector>

using namespace aaxhost;

TEST(BridgeThreads, RenderAutomationEditorAndStateTogetherStayConsistent)
{
  StandInHost host;
  HostInstance inst(host, AsCreationProc(&EditorPlug::Create));
  ASSERT_EQ(inst.Initialize(), 0);
  EditorPlug* plug = PlugOf<EditorPlug>(inst);
  plug->logging = false;
  RenderLayout layout;
  layout.maxFrames = 64;
  RenderContext ctx(layout, host.Transport());
  ASSERT_EQ(inst.InitializeFieldData(ctx), 0);
  ASSERT_EQ(inst.OpenEditor(EditorCreationProc()), 0);
  host.Automation()->SetEchoDeferred(true);
  inst.EchoAutomation(true);
  host.Controller()->Calls().SetEnabled(false);

  // The host makes one control call at a time into an instance.
  std::mutex hostCalls;
  std::atomic<bool> done{false};
  std::atomic<bool> editorOpen{false};
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);

  std::thread automation([&] {
    for (unsigned i = 0; !done.load(); ++i)
    {
      std::lock_guard<std::mutex> lock(hostCalls);
      const char* ids[] = {"1", "2", "MasterBypassID"};
      inst.Parameters()->UpdateParameterNormalizedValue(ids[i % 3], (i / 3) % 2 ? 1.0 : 0.0,
                                                        AAX_EUpdateSource(0));
      host.Automation()->DeliverEchoes();
    }
  });
  std::thread editor([&] {
    inst.AttachView(HostInstance::HeadlessView()); // this thread is now the GUI thread
    editorOpen = true;
    IMouseMod mod;
    IRECT dirty;
    for (unsigned i = 0; !done.load(); ++i)
    {
      const int x = EditorPlug::kSwitchX[i % 2] + 5, y = EditorPlug::kSwitchY + 5;
      plug->gui->OnMouseDown(x, y, &mod);
      plug->gui->OnMouseUp(x, y, &mod);
      if (plug->gui->IsDirty(dirty)) plug->gui->Draw(dirty);
    }
    inst.DetachView();
  });
  std::thread state([&] {
    std::vector<unsigned char> rec(kAAX_SPlugInChunkHeaderSize + 64);
    auto* chunk = reinterpret_cast<AAX_SPlugInChunk*>(rec.data());
    const AAX_CTypeID id = 0x65446974;
    while (!done.load())
    {
      std::lock_guard<std::mutex> lock(hostCalls);
      uint32_t size = 0;
      AAX_CBoolean equal = 0;
      inst.Parameters()->GetChunkSize(id, &size);
      inst.Parameters()->GetChunk(id, chunk);
      inst.Parameters()->CompareActiveChunk(chunk, &equal);
      inst.Parameters()->SetChunk(id, chunk);
    }
  });

  int blocks = 0, inconsistent = 0, seen[3] = {0, 0, 0};
  RenderBatch batch{&ctx};
  while (std::chrono::steady_clock::now() < deadline)
  {
    ctx.FillInput(0, 1.0f);
    ctx.FillInput(1, 2.0f);
    ctx.SetFrames(64);
    batch.Run(BridgeRenderProc());
    const float l = ctx.Output(0)[0], r = ctx.Output(1)[0];
    int kind = -1;
    if (l == 1.0f && r == 2.0f) kind = 0; // neither, or bypassed
    else if (l == 2.0f && r == 1.0f) kind = 1;
    else if (l == 1.5f && r == 1.5f) kind = 2;
    for (int s = 1; s < 64; ++s)
      if (ctx.Output(0)[s] != l || ctx.Output(1)[s] != r) kind = -1;
    if (kind < 0) ++inconsistent;
    else ++seen[kind];
    ++blocks;
  }
  done = true;
  automation.join();
  editor.join();
  state.join();
  inst.EchoAutomation(false);
  EXPECT_TRUE(editorOpen.load());
  EXPECT_EQ(inconsistent, 0);
  EXPECT_GT(blocks, 100);
  EXPECT_GT(seen[1] + seen[2], 0); // the switches did change under the render thread
}

// A workstation opens the editors of different instances from different
// threads; each editor must reach its own instance's plug-in.
TEST(BridgeThreads, EditorsOfSeveralInstancesOpenedFromSeveralThreadsReachTheirOwnPlugIns)
{
  StandInHost host;
  constexpr int kInstances = 3;
  std::vector<std::unique_ptr<HostInstance>> insts;
  for (int i = 0; i < kInstances; ++i)
  {
    insts.push_back(std::make_unique<HostInstance>(host, AsCreationProc(&EditorPlug::Create)));
    ASSERT_EQ(insts.back()->Initialize(), 0);
    PlugOf<EditorPlug>(*insts.back())->logging = false;
  }
  std::atomic<int> wrong{0}, ready{0};
  std::vector<std::thread> threads;
  for (int i = 0; i < kInstances; ++i)
    threads.emplace_back(
        [&, i]
        {
          HostInstance& inst = *insts[static_cast<size_t>(i)];
          IGraphics* own = PlugOf<EditorPlug>(inst)->gui;
          for (++ready; ready.load() < kInstances;)
            std::this_thread::yield();
          for (int n = 0; n < 20000; ++n)
          {
            if (inst.OpenEditor(EditorCreationProc()) != 0 ||
                inst.AttachView(HostInstance::HeadlessView()) != 0 || !own->GetViewContainer())
              ++wrong;
            inst.CloseEditor();
          }
        });
  for (std::thread& t : threads)
    t.join();
  EXPECT_EQ(wrong.load(), 0);
}
