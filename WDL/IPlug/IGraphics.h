#pragma once
// IGraphics as the plug-in base sees it: the editor's graphics container is
// reached only through these virtual operations, so the audio-side library
// links without any GUI dependency. The full container derives its drawing
// and event machinery on top of this interface.

class AAX_IViewContainer;

class IGraphics
{
public:
  // [host] Deleted by the plug-in base that owns it (after AttachGraphics).
  virtual ~IGraphics() = default;

  // [host, under the plug-in mutex] A parameter changed outside the editor:
  // show value (normalised when normalized is true, else real) on the
  // controls bound to paramIdx. Must not call back into the plug-in.
  virtual void SetParameterFromPlug(int paramIdx, double value, bool normalized) = 0;

  // [host, under the plug-in mutex] Called once when the base takes
  // ownership, before the first draw.
  virtual void PrepDraw() = 0;

  // [gui] The host window that holds the editor (not owned; null when the
  // editor is not open in a host window). The AAX bridge asks it for sizes.
  void SetViewContainer(AAX_IViewContainer* pViewContainer) { mAAXViewContainer = pViewContainer; }
  AAX_IViewContainer* GetViewContainer() { return mAAXViewContainer; }

private:
  AAX_IViewContainer* mAAXViewContainer = nullptr;
};
