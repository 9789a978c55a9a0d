// AAX_CParameterManager: owns the parameters of one effect instance and finds
// them by identifier, index or name.
#pragma once

#include "AAX_IAutomationDelegate.h"
#include "AAX_IParameter.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

// Not safe for concurrent use; the effect-parameters object serialises calls.
// [host] for every operation.
class AAX_CParameterManager
{
public:
  AAX_CParameterManager();
  // Deletes every parameter (RemoveAllParameters).
  ~AAX_CParameterManager();

  AAX_CParameterManager(const AAX_CParameterManager&) = delete;
  AAX_CParameterManager& operator=(const AAX_CParameterManager&) = delete;

  // The automation delegate given to parameters added from now on (borrowed;
  // parameters added earlier keep theirs).
  void Initialize(AAX_IAutomationDelegate* iAutomationDelegate);
  int32_t NumParameters() const;
  // Takes ownership of param and gives it the automation delegate. A null
  // parameter or one whose identifier is already present is refused with a
  // host trace; a refused parameter stays the caller's.
  void AddParameter(AAX_IParameter* param);
  // Remove and delete; unknown identifiers and null change nothing.
  void RemoveParameter(AAX_IParameter* param);
  void RemoveParameterByID(AAX_CParamID identifier);
  // Deletes every parameter in insertion order.
  void RemoveAllParameters();
  // Null for a null or unknown identifier (exact match).
  AAX_IParameter* GetParameterByID(AAX_CParamID identifier);
  const AAX_IParameter* GetParameterByID(AAX_CParamID identifier) const;
  // The first parameter in insertion order whose primary name is name exactly.
  AAX_IParameter* GetParameterByName(const char* name);
  const AAX_IParameter* GetParameterByName(const char* name) const;
  // Null outside 0..NumParameters()-1.
  AAX_IParameter* GetParameter(int32_t index);
  const AAX_IParameter* GetParameter(int32_t index) const;
  // Position in insertion order, or -1 (also for null).
  int32_t GetParameterIndex(AAX_CParamID identifier) const;

private:
  AAX_IAutomationDelegate* mAutomationDelegate;
  std::vector<AAX_IParameter*> mParameters;
  std::map<std::string, AAX_IParameter*> mParametersMap;
};
