// The stand-in host's core assembled: a host object that offers the
// controller, page-table controller, automation delegate, transport and
// component factory, whose factory makes host services and page tables. Which
// interface versions are offered is configurable.
#pragma once

#include "HostAutomationDelegate.h"
#include "HostCollection.h"
#include "HostComponentDescriptor.h"
#include "HostComponentFactory.h"
#include "HostController.h"
#include "HostDefinition.h"
#include "HostDescriptionHost.h"
#include "HostEffectDescriptor.h"
#include "HostObject.h"
#include "HostPageTable.h"
#include "HostPropertyMap.h"
#include "HostServices.h"
#include "HostTransport.h"
#include "HostViewContainer.h"

namespace aaxhost
{
// Highest version offered per interface; 0 leaves the interface out.
struct HostConfig
{
  int controller = 3;          // 1..3 (0: no controller)
  int pageTableController = 2; // 0..2
  int automationDelegate = 1;  // 0..1
  int transport = 2;           // 0..2
  int hostServices = 3;        // 0..3 (created through the factory)
  int pageTable = 2;           // 0..2 (created through the factory)
  int viewContainer = 2;       // 1..2 (NewViewContainer)
  bool componentFactory = true;
  // Description components, made by the factory (0 leaves one out).
  int collection = 1;          // 0..1
  int effectDescriptor = 2;    // 0..2
  int componentDescriptor = 3; // 0..3
  int propertyMap = 3;         // 0..3
  int descriptionHost = 1;     // 0..1 (offered by the host object, also made by the factory)
  int featureInfo = 1;         // 0..1 (made by the description host)
  bool hostDefinition = true;  // IID_IACFDefinition offered by the host object
};

class StandInHost
{
public:
  explicit StandInHost(const HostConfig& config = HostConfig());
  // Withdraws every offer, so the components go when their last user releases them.
  ~StandInHost();

  // The IACFUnknown to hand to entry points and Initialize (borrowed). [any]
  IACFUnknown* Unknown() const { return mHost.get(); }
  HostObject& Object() const { return *mHost; }
  const HostConfig& Config() const { return mConfig; }

  // The components (null when left out by the configuration).
  HostController* Controller() const { return mController.get(); }
  HostAutomationDelegate* Automation() const { return mAutomation.get(); }
  HostTransport* Transport() const { return mTransport.get(); }
  HostServices* Services() const { return mServices.get(); }
  HostComponentFactory* Factory() const { return mFactory.get(); }
  // Every page table the factory made, in order (the host keeps a reference).
  std::vector<Ref<HostPageTable>> PageTables() const;

  // Every collection the factory made, in order (the host keeps a reference);
  // each holds what a registration described. [any]
  std::vector<Ref<HostCollection>> Collections() const;
  // What the last registration described (empty before the first). [any]
  Description LastDescription() const;
  HostDescriptionHost* DescriptionHost() const { return mDescriptionHost.get(); }
  HostDefinition* Definition() const { return mDefinition.get(); }

  // A new view container for SetViewContainer. [any]
  Ref<HostViewContainer> NewViewContainer(void* nativeView, int32_t type = 1) const;

  // A host object of one instance, for its editor's Initialize: it answers
  // the effect-parameters identifiers with effectParameters and everything
  // else as Unknown() does. Editors of different instances each get their
  // own, so they may be opened from different threads at once. [any]
  Ref<HostObject> NewInstanceObject(IACFUnknown* effectParameters) const;

  // Answers the effect-parameters identifiers on the shared host object
  // itself; null withdraws them. Only for tests that drive one editor by
  // hand: an offer there is seen by every caller of Unknown(). [host]
  void OfferEffectParameters(IACFUnknown* effectParameters);

private:
  HostConfig mConfig;
  Ref<HostObject> mHost;
  Ref<HostController> mController;
  Ref<HostAutomationDelegate> mAutomation;
  Ref<HostTransport> mTransport;
  Ref<HostServices> mServices;
  Ref<HostComponentFactory> mFactory;
  Ref<HostDescriptionHost> mDescriptionHost;
  Ref<HostDefinition> mDefinition;
  mutable std::mutex mMutex;
  std::vector<Ref<HostPageTable>> mPageTables;
  std::vector<Ref<HostCollection>> mCollections;

  void RegisterDescriptionMakers();
};
} // namespace aaxhost
