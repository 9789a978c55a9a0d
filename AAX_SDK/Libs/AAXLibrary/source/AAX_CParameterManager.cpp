#include "AAX_CParameterManager.h"

#include "AAX_CHostServices.h"

#include <cstring>

AAX_CParameterManager::AAX_CParameterManager() : mAutomationDelegate(nullptr) {}

AAX_CParameterManager::~AAX_CParameterManager() { RemoveAllParameters(); }

void AAX_CParameterManager::Initialize(AAX_IAutomationDelegate* iAutomationDelegate)
{
  mAutomationDelegate = iAutomationDelegate;
}

int32_t AAX_CParameterManager::NumParameters() const
{
  return static_cast<int32_t>(mParameters.size());
}

void AAX_CParameterManager::AddParameter(AAX_IParameter* param)
{
  if (!param)
  {
    AAX_CHostServices::Trace(AAX_eTracePriorityHost_Normal,
                             "AAX_CParameterManager::AddParameter() - Attempt to add a null "
                             "parameter into AAX_CParameterManager");
    return;
  }
  if (mParametersMap.count(param->Identifier()))
  {
    AAX_CHostServices::Trace(AAX_eTracePriorityHost_Normal,
                             "AAX_CParameterManager::AddParameter() - Duplicate AAX_IParameter "
                             "ID Inserted into AAX_CParameterManager");
    return;
  }
  param->SetAutomationDelegate(mAutomationDelegate);
  mParameters.push_back(param);
  mParametersMap.insert({param->Identifier(), param});
}

void AAX_CParameterManager::RemoveParameter(AAX_IParameter* param)
{
  if (param) RemoveParameterByID(param->Identifier());
}

void AAX_CParameterManager::RemoveParameterByID(AAX_CParamID identifier)
{
  const int32_t index = GetParameterIndex(identifier);
  if (index < 0 || index >= NumParameters()) return;
  AAX_IParameter* param = mParameters[static_cast<size_t>(index)];
  mParameters.erase(mParameters.begin() + index);
  mParametersMap.erase(identifier);
  delete param;
}

void AAX_CParameterManager::RemoveAllParameters()
{
  for (AAX_IParameter* param : mParameters) delete param;
  mParameters.clear();
  mParametersMap.clear();
}

AAX_IParameter* AAX_CParameterManager::GetParameterByID(AAX_CParamID identifier)
{
  if (!identifier) return nullptr;
  const auto it = mParametersMap.find(identifier);
  return it == mParametersMap.end() ? nullptr : it->second;
}

const AAX_IParameter* AAX_CParameterManager::GetParameterByID(AAX_CParamID identifier) const
{
  return const_cast<AAX_CParameterManager*>(this)->GetParameterByID(identifier);
}

AAX_IParameter* AAX_CParameterManager::GetParameterByName(const char* name)
{
  if (!name) return nullptr;
  for (AAX_IParameter* param : mParameters)
    if (param->Name() == name) return param;
  return nullptr;
}

const AAX_IParameter* AAX_CParameterManager::GetParameterByName(const char* name) const
{
  return const_cast<AAX_CParameterManager*>(this)->GetParameterByName(name);
}

AAX_IParameter* AAX_CParameterManager::GetParameter(int32_t index)
{
  if (index < 0 || index >= NumParameters()) return nullptr;
  return mParameters[static_cast<size_t>(index)];
}

const AAX_IParameter* AAX_CParameterManager::GetParameter(int32_t index) const
{
  return const_cast<AAX_CParameterManager*>(this)->GetParameter(index);
}

int32_t AAX_CParameterManager::GetParameterIndex(AAX_CParamID identifier) const
{
  if (!identifier) return -1;
  for (size_t i = 0; i < mParameters.size(); ++i)
    if (std::strcmp(mParameters[i]->Identifier(), identifier) == 0) return static_cast<int32_t>(i);
  return -1;
}
