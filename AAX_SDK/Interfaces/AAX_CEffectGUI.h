// AAX_CEffectGUI: the editor base class. A derived editor supplies
// CreateViewContents, CreateViewContainer and DeleteViewContainer.
#pragma once

#include "ACF/ACFPtr.h"
#include "AAX_IACFEffectParameters.h"
#include "AAX_IEffectGUI.h"

#include <memory>

class AAX_IController;
class AAX_ITransport;
class AAX_IViewContainer;

// Lifecycle (all [host] / [gui] calls from the host, one at a time):
// Initialize → SetViewContainer(container) → ... → SetViewContainer(null) →
// Uninitialize → released. The host must detach the container before the last
// release: the destructor cannot reach the derived editor's DeleteViewContainer.
class AAX_CEffectGUI : public AAX_IEffectGUI
{
public:
  AAX_CEffectGUI();
  ~AAX_CEffectGUI() override;

  // Creates the controller wrapper on host; null host → -20011. Otherwise
  // queries host for IID_IAAXEffectParametersV1, creates the transport wrapper,
  // calls CreateViewContents; 0.
  AAX_Result Initialize(IACFUnknown* iHost) override;
  // Detaches any view container, drops the effect parameters and the wrappers; 0.
  AAX_Result Uninitialize() override;
  AAX_Result NotificationReceived(AAX_CTypeID iNotificationType, const void* iNotificationData,
                                  uint32_t iNotificationDataSize) override; // 0
  // Non-null: wrap it (replacing any earlier one), CreateViewContainer, then
  // UpdateAllParameters. Null: DeleteViewContainer, then drop the wrapper. 0.
  AAX_Result SetViewContainer(IACFUnknown* iViewContainer) override;
  AAX_Result GetViewSize(AAX_Point* oViewSize) const override;     // 0, untouched
  AAX_Result Draw(AAX_Rect* iDrawRect) override;                   // 0
  AAX_Result TimerWakeup() override;                               // 0
  AAX_Result ParameterUpdated(AAX_CParamID iParameterID) override; // 0
  AAX_Result GetCustomLabel(AAX_EPlugInStrings iSelector,
                            AAX_IString* oString) const override; // -20004
  AAX_Result SetControlHighlightInfo(AAX_CParamID iParameterID, AAX_CBoolean iIsHighlighted,
                                     AAX_EHighlightColor iColor) override; // 0

protected:
  virtual void CreateViewContents() = 0;
  virtual void CreateViewContainer() = 0;
  virtual void DeleteViewContainer() = 0;
  // With effect parameters: their count (slot 6; a failure ends it), then
  // ParameterUpdated for each identifier obtained (slot 18).
  virtual void UpdateAllParameters();

public:
  AAX_IController* GetController();
  const AAX_IController* GetController() const;
  AAX_IACFEffectParameters* GetEffectParameters();
  const AAX_IACFEffectParameters* GetEffectParameters() const;
  AAX_IViewContainer* GetViewContainer();
  const AAX_IViewContainer* GetViewContainer() const;
  AAX_ITransport* Transport();
  const AAX_ITransport* Transport() const;
  int32_t GetViewContainerType(); // the container's GetType; 0 without
  void* GetViewContainerPtr();    // the container's GetPtr; null without

private:
  std::unique_ptr<AAX_IController> mController;
  ACFPtr<AAX_IACFEffectParameters> mEffectParameters;
  std::unique_ptr<AAX_IViewContainer> mViewContainer;
  std::unique_ptr<AAX_ITransport> mTransport;
};
