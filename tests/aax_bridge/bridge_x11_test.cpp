// Quorvane's editor opened by the host in a real X11 window through the GUI
// bridge's view container, and closed again by taking the container away.

#include "x11_fixture.h" // GoogleTest and the project's headers before Xlib's macros

#include "../iplug/hosted_quorvane.h"
#include "AAX_CEffectGUI_IPLUG.h"
#include "IGraphics.h"

#include <X11/Xlib.h>

using namespace aaxhost;

TEST_F(X11Test, QuorvaneEditorOpensInTheHostWindowAndClosesWithTheContainer)
{
  HostWindow window;
  ASSERT_TRUE(window.Ok());
  StandInHost host;
  HostInstance inst(host, QuorvaneCreate());
  ASSERT_EQ(inst.Initialize(), 0);
  ASSERT_EQ(inst.OpenEditor(reinterpret_cast<CreationProc>(&AAX_CEffectGUI_IPLUG::Create)), 0);
  IGraphics* gui = dynamic_cast<Quorvane*>(inst.Parameters())->GetGUI();
  ASSERT_NE(gui, nullptr);

  EXPECT_EQ(inst.AttachView(window.AsParent()), 0);
  EXPECT_NE(window.WaitForChild(3000), 0u);
  EXPECT_NE(gui->GetWindow(), nullptr);
  EXPECT_EQ(gui->GetViewContainer() != nullptr, true);

  EXPECT_EQ(inst.DetachView(), 0);
  EXPECT_EQ(gui->GetWindow(), nullptr);
  EXPECT_TRUE(WaitUntil([&] { return window.FirstChild() == 0; }));
}
