// The GUI bridge and the editor's part of the AAX bridge: the editor object
// a host creates, its view container, the click round trip through the
// host's automation, host values reaching the editor, resizing.
#include "../iplug/hosted_quorvane.h"
#include "editor_plug.h"

#include <gtest/gtest.h>

using namespace aaxhost;

namespace
{
struct EditorSession
{
  EditorSession()
  {
    EXPECT_EQ(inst.Initialize(), 0);
    inst.EchoAutomation(true);
    plug = PlugOf<EditorPlug>(inst);
    EXPECT_EQ(inst.OpenEditor(EditorCreationProc()), 0);
    EXPECT_EQ(inst.AttachView(HostInstance::HeadlessView()), 0);
  }
  void Click(int paramIdx)
  {
    IMouseMod mod;
    const int x = EditorPlug::kSwitchX[paramIdx] + 5, y = EditorPlug::kSwitchY + 5;
    plug->gui->OnMouseDown(x, y, &mod);
    plug->gui->OnMouseUp(x, y, &mod);
  }
  StandInHost host;
  HostInstance inst{host, AsCreationProc(&EditorPlug::Create)};
  EditorPlug* plug = nullptr;
};
} // namespace

TEST(BridgeEditor, QuorvanesEditorIs190WideAnd120High)
{
  StandInHost host;
  HostInstance inst(host, QuorvaneCreate());
  ASSERT_EQ(inst.Initialize(), 0);
  ASSERT_EQ(inst.OpenEditor(EditorCreationProc()), 0);
  AAX_Point size{-1, -1};
  EXPECT_EQ(inst.Editor()->GetViewSize(&size), 0);
  EXPECT_EQ(size.vert, 120.0f);
  EXPECT_EQ(size.horz, 190.0f);
}

TEST(BridgeEditor, WithoutAGraphicsContainerOrANativeViewNothingOpens)
{
  StandInHost host;
  HostInstance inst(host, AsCreationProc(&RecordingAAXPlug::CreatePlain));
  ASSERT_EQ(inst.Initialize(), 0);
  ASSERT_EQ(inst.OpenEditor(EditorCreationProc()), 0);
  AAX_Point size{-1, -2};
  EXPECT_EQ(inst.Editor()->GetViewSize(&size), 0);
  EXPECT_EQ(size.vert, -1.0f);
  EXPECT_EQ(size.horz, -2.0f);
  EXPECT_EQ(inst.AttachView(HostInstance::HeadlessView()), 0); // no editor to open

  HostInstance withEditor(host, AsCreationProc(&EditorPlug::Create));
  ASSERT_EQ(withEditor.Initialize(), 0);
  ASSERT_EQ(withEditor.OpenEditor(EditorCreationProc()), 0);
  EXPECT_EQ(withEditor.AttachView(nullptr), 0);
  EditorPlug* plug = PlugOf<EditorPlug>(withEditor);
  EXPECT_EQ(plug->gui->GetWindow(), nullptr);
  EXPECT_EQ(plug->gui->GetViewContainer(), nullptr);
}

TEST(BridgeEditor, ViewContainerOpensTheEditorAndItsRemovalClosesIt)
{
  EditorSession s;
  EXPECT_NE(s.plug->gui->GetWindow(), nullptr);
  EXPECT_NE(s.plug->gui->GetViewContainer(), nullptr);
  EXPECT_EQ(s.inst.DetachView(), 0);
  EXPECT_EQ(s.plug->gui->GetWindow(), nullptr);
  // The graphics container belongs to the plug-in and outlives the editor.
  s.inst.CloseEditor();
  EXPECT_EQ(s.plug->GetGUI(), s.plug->gui);
}

TEST(BridgeEditor, ClickTravelsThroughTheHostAndEndsInOnParamChange)
{
  EditorSession s;
  s.plug->log.clear();
  s.Click(1);
  const std::vector<std::string> expect = {
      "touch 1", "inform 1 1.000000", "update 2", "change 1 shown", "change 1 shown", "release 1"};
  EXPECT_EQ(s.plug->log, expect);
  EXPECT_EQ(s.plug->GetParam(1)->Value(), 1.0);
  EXPECT_EQ(s.plug->gui->GetControl(1)->GetValue(), 1.0);
  ASSERT_EQ(s.host.Automation()->SetRequests().size(), 1u);
  EXPECT_EQ(s.host.Automation()->SetRequests()[0].id, "2");
  EXPECT_FALSE(s.host.Automation()->IsTouched("2"));
  double v = 0;
  s.inst.Parameters()->GetParameterNormalizedValue("2", &v);
  EXPECT_EQ(v, 1.0);

  // A click the host takes (its own parameter handling) changes nothing.
  s.inst.View()->SetMouseResult(0);
  s.plug->log.clear();
  s.Click(0);
  EXPECT_TRUE(s.plug->log.empty());
  EXPECT_EQ(s.plug->GetParam(0)->Value(), 0.0);
}

TEST(BridgeEditor, HostValuesAndRestoredChunksReachTheEditor)
{
  EditorSession s;
  s.plug->log.clear();
  EXPECT_EQ(s.inst.Parameters()->UpdateParameterNormalizedValue("1", 1.0, AAX_EUpdateSource(0)), 0);
  EXPECT_EQ(s.plug->gui->GetControl(0)->GetValue(), 1.0);
  EXPECT_EQ(s.plug->log, (std::vector<std::string>{"update 1", "change 0 shown"}));

  // Restoring a chunk redraws every control from the restored values.
  s.inst.EchoAutomation(false);
  std::vector<unsigned char> rec(56 + 16 + 8);
  auto* chunk = reinterpret_cast<AAX_SPlugInChunk*>(rec.data());
  const double values[2] = {0.0, 1.0};
  chunk->fSize = 16;
  std::memcpy(chunk->fData, values, 16);
  EXPECT_EQ(s.inst.Parameters()->SetChunk(0x65446974, chunk), 0);
  EXPECT_EQ(s.plug->gui->GetControl(0)->GetValue(), 0.0);
  EXPECT_EQ(s.plug->gui->GetControl(1)->GetValue(), 1.0);
}

TEST(BridgeEditor, ResizeAsksTheHostViewContainer)
{
  EditorSession s;
  s.plug->log.clear();
  s.plug->ResizeGraphics(300, 200);
  const std::vector<AAX_Point> asked = s.inst.View()->SizeRequests();
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0].vert, 200.0f);
  EXPECT_EQ(asked[0].horz, 300.0f);
  EXPECT_EQ(s.plug->log, std::vector<std::string>{"resized"});
}

TEST(BridgeEditor, EditorObjectsAreCountedAndReleased)
{
  const acfUInt32 live = CACFUnknown::GetActiveObjectCount();
  {
    EditorSession s;
    EXPECT_EQ(CACFUnknown::GetActiveObjectCount(), live + 2);
  }
  EXPECT_EQ(CACFUnknown::GetActiveObjectCount(), live);
}
