#pragma once
// AAX_CEffectGUI_IPLUG: the editor object the host creates for an instance.
// It hands the host's native view to the instance's existing graphics
// container; the container belongs to the plug-in and outlives this object.

#include "AAX_CEffectGUI.h"

class IGraphics;

class AAX_CEffectGUI_IPLUG : public AAX_CEffectGUI
{
public:
  AAX_CEffectGUI_IPLUG() = default;
  ~AAX_CEffectGUI_IPLUG() override = default;

  // [host] The editor creation procedure: a new object as the host's
  // effect-GUI interface, with no reference taken yet.
  static AAX_IEffectGUI* Create();

  // [gui] Height into the point's vertical and width into its horizontal
  // coordinate; the point is left as it was without an editor. Always 0.
  AAX_Result GetViewSize(AAX_Point* oViewSize) const override;
  // [gui] Nothing: the editor learns of value changes from the AAX bridge. 0.
  AAX_Result ParameterUpdated(AAX_CParamID iParameterID) override;

  // The instance's graphics container (null before CreateViewContents, or
  // when the instance has no editor). Not owned.
  IGraphics* GetGraphics() const { return mGraphics; }

protected:
  // [host] Finds the instance's graphics container through the effect
  // parameters the host linked to this editor.
  void CreateViewContents() override;
  // [gui] Opens the editor inside the host's native view (not without one).
  void CreateViewContainer() override;
  // [gui] Closes the editor window.
  void DeleteViewContainer() override;

private:
  IGraphics* mGraphics = nullptr;
};
