#include "AAX_CEffectGUI.h"

#include "AAX_CString.h"
#include "AAX_Errors.h"
#include "AAX_UIDs.h"
#include "AAX_VController.h"
#include "AAX_VTransport.h"
#include "AAX_VViewContainer.h"

AAX_CEffectGUI::AAX_CEffectGUI() = default;

AAX_CEffectGUI::~AAX_CEffectGUI()
{
  // The derived editor is already gone, so its DeleteViewContainer cannot run:
  // a container still attached here is dropped without the hook.
  mViewContainer.reset();
  AAX_CEffectGUI::Uninitialize();
}

AAX_Result AAX_CEffectGUI::Initialize(IACFUnknown* iHost)
{
  mController.reset(new AAX_VController(iHost));
  if (!iHost) return AAX_ERROR_NOT_INITIALIZED;
  mEffectParameters = ACFPtr<AAX_IACFEffectParameters>(iHost, IID_IAAXEffectParametersV1);
  mTransport.reset(new AAX_VTransport(iHost));
  CreateViewContents();
  return AAX_SUCCESS;
}

AAX_Result AAX_CEffectGUI::Uninitialize()
{
  if (mViewContainer) SetViewContainer(nullptr);
  mEffectParameters.Reset();
  mController.reset();
  mTransport.reset();
  return AAX_SUCCESS;
}

AAX_Result AAX_CEffectGUI::NotificationReceived(AAX_CTypeID, const void*, uint32_t)
{
  return AAX_SUCCESS;
}

AAX_Result AAX_CEffectGUI::SetViewContainer(IACFUnknown* iViewContainer)
{
  if (iViewContainer)
  {
    mViewContainer.reset(new AAX_VViewContainer(iViewContainer));
    CreateViewContainer();
    UpdateAllParameters();
  }
  else
  {
    DeleteViewContainer();
    mViewContainer.reset();
  }
  return AAX_SUCCESS;
}

AAX_Result AAX_CEffectGUI::GetViewSize(AAX_Point*) const { return AAX_SUCCESS; }
AAX_Result AAX_CEffectGUI::Draw(AAX_Rect*) { return AAX_SUCCESS; }
AAX_Result AAX_CEffectGUI::TimerWakeup() { return AAX_SUCCESS; }
AAX_Result AAX_CEffectGUI::ParameterUpdated(AAX_CParamID) { return AAX_SUCCESS; }
AAX_Result AAX_CEffectGUI::GetCustomLabel(AAX_EPlugInStrings, AAX_IString*) const
{
  return AAX_ERROR_NULL_OBJECT;
}
AAX_Result AAX_CEffectGUI::SetControlHighlightInfo(AAX_CParamID, AAX_CBoolean, AAX_EHighlightColor)
{
  return AAX_SUCCESS;
}

void AAX_CEffectGUI::UpdateAllParameters()
{
  if (!mEffectParameters) return;
  int32_t count = 0;
  if (mEffectParameters->GetNumberOfParameters(&count) != AAX_SUCCESS) return;
  for (int32_t index = 0; index < count; ++index)
  {
    AAX_CString id;
    if (mEffectParameters->GetParameterIDFromIndex(index, &id) == AAX_SUCCESS)
      ParameterUpdated(id.Get());
  }
}

AAX_IController* AAX_CEffectGUI::GetController() { return mController.get(); }
const AAX_IController* AAX_CEffectGUI::GetController() const { return mController.get(); }
AAX_IACFEffectParameters* AAX_CEffectGUI::GetEffectParameters() { return mEffectParameters.get(); }
const AAX_IACFEffectParameters* AAX_CEffectGUI::GetEffectParameters() const
{
  return mEffectParameters.get();
}
AAX_IViewContainer* AAX_CEffectGUI::GetViewContainer() { return mViewContainer.get(); }
const AAX_IViewContainer* AAX_CEffectGUI::GetViewContainer() const { return mViewContainer.get(); }
AAX_ITransport* AAX_CEffectGUI::Transport() { return mTransport.get(); }
const AAX_ITransport* AAX_CEffectGUI::Transport() const { return mTransport.get(); }
int32_t AAX_CEffectGUI::GetViewContainerType()
{
  return mViewContainer ? mViewContainer->GetType() : 0;
}
void* AAX_CEffectGUI::GetViewContainerPtr()
{
  return mViewContainer ? mViewContainer->GetPtr() : nullptr;
}
