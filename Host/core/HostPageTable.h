// The stand-in host's page table (AAXCompID_PageTable), versions 1 and 2: pages
// of parameter identifiers for control surfaces, and parameter name variations.
#pragma once

#include "AAX_IACFPageTable.h"
#include "HostComponent.h"

#include <map>

namespace aaxhost
{
class HostPageTable final : public AAX_IACFPageTable_V2, public Component
{
public:
  AAXHOST_DECLARE_UNKNOWN()

  explicit HostPageTable(int version = 2); // 1 or 2

  // Pages and slots are counted from 0; out-of-range positions give
  // AAX_ERROR_INVALID_ARGUMENT. A page has as many slots as its highest mapped
  // index + 1; cleared slots hold the empty identifier.
  AAX_Result Clear() override;
  AAX_Result Empty(AAX_CBoolean& oEmpty) override;
  AAX_Result GetNumPages(int32_t& oNumPages) override;
  AAX_Result InsertPage(int32_t iPage) override; // 0..number of pages
  AAX_Result RemovePage(int32_t iPage) override;
  AAX_Result GetNumMappedParameterIDs(int32_t iPage, int32_t& oNumParameterIDs) override;
  AAX_Result ClearMappedParameter(int32_t iPage, int32_t iIndex) override;
  AAX_Result GetMappedParameterID(int32_t iPage, int32_t iIndex,
                                  AAX_IString& oParameterID) override;
  AAX_Result MapParameterID(AAX_CParamID iParameterID, int32_t iPage, int32_t iIndex) override;
  // Name variations: per parameter, one name per length.
  AAX_Result GetNumParametersWithNameVariations(int32_t& oNumParameters) override;
  AAX_Result GetNameVariationParameterIDAtIndex(int32_t iIndex, AAX_IString& oParameterID) override;
  AAX_Result GetNumNameVariationsForParameter(AAX_CPageTableParamID iParameterID,
                                              int32_t& oNumVariations) override;
  AAX_Result GetParameterNameVariationAtIndex(AAX_CPageTableParamID iParameterID, int32_t iIndex,
                                              AAX_IString& oNameVariation,
                                              int32_t& oLength) override;
  AAX_Result GetParameterNameVariationOfLength(AAX_CPageTableParamID iParameterID, int32_t iLength,
                                               AAX_IString& oNameVariation) override;
  AAX_Result ClearParameterNameVariations() override;
  AAX_Result ClearNameVariationsForParameter(AAX_CPageTableParamID iParameterID) override;
  AAX_Result SetParameterNameVariation(AAX_CPageTableParamID iParameterID,
                                       const AAX_IString& iNameVariation, int32_t iLength) override;

  std::vector<std::vector<std::string>> Pages() const;

private:
  ~HostPageTable() override = default;
  void* Answer(const acfIID& iid) override;
  bool ValidSlotLocked(int32_t page, int32_t index) const;

  const int mVersion;
  mutable std::mutex mMutex;
  std::vector<std::vector<std::string>> mPages;
  std::map<std::string, std::map<int32_t, std::string>> mNameVariations;
};
} // namespace aaxhost
