#include "StandInHost.h"

#include "ACF/acfuids.h"
#include "AAX_UIDs.h"

namespace aaxhost
{
StandInHost::StandInHost(const HostConfig& config) : mConfig(config), mHost(Make<HostObject>())
{
  if (config.controller > 0)
  {
    mController = Make<HostController>(config.controller, config.pageTableController);
    for (const acfIID* iid : {&IID_IAAXControllerV1, &IID_IAAXControllerV2, &IID_IAAXControllerV3,
                              &IID_IAAXPageTableController, &IID_IAAXPageTableControllerV2})
      mHost->Offer(*iid, static_cast<AAX_IACFController*>(mController.get()));
  }
  if (config.automationDelegate > 0)
  {
    mAutomation = Make<HostAutomationDelegate>();
    mHost->Offer(IID_IAAXAutomationDelegateV1, mAutomation.get());
  }
  if (config.transport > 0)
  {
    mTransport = Make<HostTransport>(config.transport);
    mHost->Offer(IID_IAAXTransportV1, mTransport.get());
    mHost->Offer(IID_IAAXTransportV2, mTransport.get());
  }
  if (config.hostServices > 0) mServices = Make<HostServices>(config.hostServices);
  if (config.descriptionHost > 0)
  {
    mDescriptionHost = Make<HostDescriptionHost>(config.featureInfo);
    mHost->Offer(IID_IAAXDescriptionHostV1, mDescriptionHost.get());
  }
  if (config.hostDefinition)
  {
    mDefinition = Make<HostDefinition>();
    mHost->Offer(IID_IACFDefinition, mDefinition.get());
  }
  if (config.componentFactory)
  {
    mFactory = Make<HostComponentFactory>();
    mHost->Offer(IID_IACFComponentFactory, mFactory.get());
    if (mServices)
    {
      HostServices* services = mServices.get();
      mFactory->Register(AAXCompID_HostServices,
                         [services]() -> IACFUnknown*
                         {
                           services->AddRef();
                           return services;
                         });
    }
    if (config.pageTable > 0)
    {
      const int version = config.pageTable;
      mFactory->Register(AAXCompID_PageTable,
                         [this, version]() -> IACFUnknown*
                         {
                           Ref<HostPageTable> table = Make<HostPageTable>(version);
                           {
                             std::lock_guard<std::mutex> lock(mMutex);
                             mPageTables.push_back(table);
                           }
                           table->AddRef();
                           return table.get();
                         });
    }
    RegisterDescriptionMakers();
  }
}

void StandInHost::RegisterDescriptionMakers()
{
  if (mConfig.collection > 0)
    mFactory->Register(AAXCompID_AAXCollection,
                       [this]() -> IACFUnknown*
                       {
                         Ref<HostCollection> c = Make<HostCollection>();
                         {
                           std::lock_guard<std::mutex> lock(mMutex);
                           mCollections.push_back(c);
                         }
                         c->AddRef();
                         return static_cast<AAX_IACFCollection*>(c.get());
                       });
  if (mConfig.effectDescriptor > 0)
  {
    const int version = mConfig.effectDescriptor;
    mFactory->Register(AAXCompID_AAXEffectDescriptor,
                       [version]() -> IACFUnknown* { return new HostEffectDescriptor(version); });
  }
  if (mConfig.componentDescriptor > 0)
  {
    const int version = mConfig.componentDescriptor;
    mFactory->Register(AAXCompID_AAXComponentDescriptor,
                       [version]() -> IACFUnknown*
                       { return new HostComponentDescriptor(version); });
  }
  if (mConfig.propertyMap > 0)
  {
    const int version = mConfig.propertyMap;
    mFactory->Register(AAXCompID_AAXPropertyMap,
                       [version]() -> IACFUnknown* {
                         return static_cast<AAX_IACFPropertyMap_V3*>(new HostPropertyMap(version));
                       });
  }
  if (mDescriptionHost)
  {
    HostDescriptionHost* dh = mDescriptionHost.get();
    mFactory->Register(AAX_CompID_DescriptionHost,
                       [dh]() -> IACFUnknown*
                       {
                         dh->AddRef();
                         return dh;
                       });
  }
}

std::vector<Ref<HostCollection>> StandInHost::Collections() const
{
  std::lock_guard<std::mutex> lock(mMutex);
  return mCollections;
}

Description StandInHost::LastDescription() const
{
  std::lock_guard<std::mutex> lock(mMutex);
  return mCollections.empty() ? Description() : mCollections.back()->Snapshot();
}

StandInHost::~StandInHost()
{
  if (mFactory)
  {
    // The makers point at this object; a factory reference kept by someone
    // else must not reach them any more.
    mFactory->Unregister(AAXCompID_HostServices);
    mFactory->Unregister(AAXCompID_PageTable);
    mFactory->Unregister(AAXCompID_AAXCollection);
    mFactory->Unregister(AAX_CompID_DescriptionHost);
  }
  mHost->WithdrawAll();
}

std::vector<Ref<HostPageTable>> StandInHost::PageTables() const
{
  std::lock_guard<std::mutex> lock(mMutex);
  return mPageTables;
}

Ref<HostViewContainer> StandInHost::NewViewContainer(void* nativeView, int32_t type) const
{
  return Make<HostViewContainer>(mConfig.viewContainer, type, nativeView);
}

namespace
{
void OfferParameters(HostObject& object, IACFUnknown* effectParameters)
{
  for (const acfIID* iid : {&IID_IAAXEffectParametersV1, &IID_IAAXEffectParametersV2,
                            &IID_IAAXEffectParametersV3, &IID_IAAXEffectParametersV4})
    object.Offer(*iid, effectParameters);
}
} // namespace

Ref<HostObject> StandInHost::NewInstanceObject(IACFUnknown* effectParameters) const
{
  Ref<HostObject> object = Make<HostObject>(mHost);
  OfferParameters(*object, effectParameters);
  return object;
}

void StandInHost::OfferEffectParameters(IACFUnknown* effectParameters)
{
  OfferParameters(*mHost, effectParameters);
}
} // namespace aaxhost
