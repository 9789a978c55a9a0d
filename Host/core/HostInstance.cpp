#include "HostInstance.h"

#include "AAX_Errors.h"
#include "AAX_UIDs.h"

namespace aaxhost
{
HostInstance::HostInstance(StandInHost& host, CreationProc create) : mHost(host)
{
  IACFUnknown* object = create ? create() : nullptr;
  if (!object) return;
  const acfIID* versions[] = {&IID_IAAXEffectParametersV4, &IID_IAAXEffectParametersV3,
                              &IID_IAAXEffectParametersV2, &IID_IAAXEffectParametersV1};
  for (int i = 0; i < 4 && !mParams; ++i)
  {
    void* p = nullptr;
    if (object->QueryInterface(*versions[i], &p) == ACF_OK && p)
    {
      mParams = static_cast<AAX_IACFEffectParameters*>(p);
      mVersion = 4 - i;
    }
  }
  if (!mParams)
  {
    // Not an effect-parameters object: one reference taken and given back
    // lets the object's own counting destroy it.
    object->AddRef();
    object->Release();
  }
}

HostInstance::~HostInstance()
{
  CloseEditor();
  EchoAutomation(false);
  if (mInitialized) Uninitialize();
  if (mParams) mParams->Release();
}

AAX_IACFEffectParameters_V4* HostInstance::ParametersV4() const
{
  return mVersion == 4 ? static_cast<AAX_IACFEffectParameters_V4*>(mParams) : nullptr;
}

AAX_Result HostInstance::Initialize()
{
  if (!mParams) return AAX_ERROR_NOT_INITIALIZED;
  const AAX_Result r = mParams->Initialize(mHost.Unknown());
  mInitialized = true; // Uninitialize is due even after a failure: wrappers may exist
  return r;
}

AAX_Result HostInstance::Uninitialize()
{
  if (!mParams) return AAX_ERROR_NOT_INITIALIZED;
  mInitialized = false;
  return mParams->Uninitialize();
}

AAX_Result HostInstance::InitializeFieldData(RenderContext& context) const
{
  if (!mParams) return AAX_ERROR_NOT_INITIALIZED;
  for (const PrivateField& f : context.PrivateFields())
    if (const AAX_Result r = mParams->ResetFieldData(f.field, f.data, f.size)) return r;
  return AAX_SUCCESS;
}

void HostInstance::EchoAutomation(bool on)
{
  if (!mHost.Automation() || on == mEchoing) return;
  mHost.Automation()->SetEchoTarget(on ? mParams : nullptr);
  mEchoing = on;
}

AAX_Result HostInstance::OpenEditor(CreationProc create)
{
  if (!mParams) return AAX_ERROR_NOT_INITIALIZED;
  CloseEditor();
  IACFUnknown* object = create ? create() : nullptr;
  void* p = nullptr;
  if (!object || object->QueryInterface(IID_IAAXEffectGUIV1, &p) != ACF_OK || !p)
    return AAX_ERROR_NULL_OBJECT;
  mEditor = static_cast<AAX_IACFEffectGUI*>(p);
  // The editor finds its effect parameters through the host object, so it
  // gets one of this instance: an offer on the shared object would reach
  // another instance's editor opened at the same moment.
  mEditorHost = mHost.NewInstanceObject(mParams);
  return mEditor->Initialize(mEditorHost.get());
}

AAX_Result HostInstance::AttachView(void* nativeView)
{
  if (!mEditor) return AAX_ERROR_NOT_INITIALIZED;
  DetachView();
  mView = mHost.NewViewContainer(nativeView);
  return mEditor->SetViewContainer(static_cast<AAX_IACFViewContainer*>(mView.get()));
}

AAX_Result HostInstance::DetachView()
{
  if (!mEditor || !mView) return AAX_SUCCESS;
  const AAX_Result r = mEditor->SetViewContainer(nullptr);
  mView = Ref<HostViewContainer>();
  return r;
}

void HostInstance::CloseEditor()
{
  if (!mEditor) return;
  DetachView();
  mEditor->Uninitialize();
  mEditor->Release();
  mEditor = nullptr;
  mEditorHost = Ref<HostObject>();
}

void* HostInstance::HeadlessView()
{
  static int sPlaceholder;
  return &sPlaceholder;
}
} // namespace aaxhost
