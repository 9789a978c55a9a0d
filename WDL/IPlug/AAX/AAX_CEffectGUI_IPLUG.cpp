#include "AAX_CEffectGUI_IPLUG.h"

#include "AAX_Errors.h"
#include "IPlugAAX.h"

AAX_IEffectGUI* AAX_CEffectGUI_IPLUG::Create() { return new AAX_CEffectGUI_IPLUG; }

void AAX_CEffectGUI_IPLUG::CreateViewContents()
{
  // The host hands back the interface of an object this module made; a
  // foreign one (not an IPlugAAX) gives no editor rather than a bad cast.
  auto* plug = dynamic_cast<IPlugAAX*>(GetEffectParameters());
  mGraphics = plug ? plug->GetGUI() : nullptr;
}

void AAX_CEffectGUI_IPLUG::CreateViewContainer()
{
  void* nativeView = GetViewContainerPtr();
  if (!nativeView || !mGraphics) return;
  mGraphics->SetViewContainer(GetViewContainer());
  mGraphics->OpenWindow(nativeView);
}

void AAX_CEffectGUI_IPLUG::DeleteViewContainer()
{
  if (mGraphics) mGraphics->CloseWindow();
}

AAX_Result AAX_CEffectGUI_IPLUG::GetViewSize(AAX_Point* oViewSize) const
{
  if (mGraphics && oViewSize)
  {
    oViewSize->vert = static_cast<float>(mGraphics->Height());
    oViewSize->horz = static_cast<float>(mGraphics->Width());
  }
  return AAX_SUCCESS;
}

AAX_Result AAX_CEffectGUI_IPLUG::ParameterUpdated(AAX_CParamID) { return AAX_SUCCESS; }
