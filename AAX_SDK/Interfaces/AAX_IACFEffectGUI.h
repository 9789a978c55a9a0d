// The effect-GUI interface. Implemented by the
// plug-in (AAX_CEffectGUI); the host calls it by slot.
#pragma once

#include "ACF/acfunknown.h"
#include "AAX.h"
#include "AAX_IString.h"

// Contract: every operation returns 0 on success or an AAX failure code; the
// host keeps ownership of what it passes in. Thread: [gui] ([host] for
// Initialize and Uninitialize).
class AAX_IACFEffectGUI : public IACFUnknown
{
public:
  virtual AAX_Result Initialize(IACFUnknown* iHost) = 0;                       // 3
  virtual AAX_Result Uninitialize() = 0;                                       // 4
  virtual AAX_Result NotificationReceived(AAX_CTypeID iNotificationType,       //
                                          const void* iNotificationData,       //
                                          uint32_t iNotificationDataSize) = 0; // 5
  virtual AAX_Result SetViewContainer(IACFUnknown* iViewContainer) = 0;        // 6
  virtual AAX_Result GetViewSize(AAX_Point* oViewSize) const = 0;              // 7
  virtual AAX_Result Draw(AAX_Rect* iDrawRect) = 0;                            // 8
  virtual AAX_Result TimerWakeup() = 0;                                        // 9
  virtual AAX_Result ParameterUpdated(AAX_CParamID iParameterID) = 0;          // 10
  virtual AAX_Result GetCustomLabel(AAX_EPlugInStrings iSelector,              //
                                    AAX_IString* oString) const = 0;           // 11
  virtual AAX_Result SetControlHighlightInfo(AAX_CParamID iParameterID,        //
                                             AAX_CBoolean iIsHighlighted,      //
                                             AAX_EHighlightColor iColor) = 0;  // 12

protected:
  ~AAX_IACFEffectGUI() = default;
};
