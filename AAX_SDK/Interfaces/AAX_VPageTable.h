// AAX_VPageTable: forwards AAX_IPageTable to a host page table, versions 1 and 2
//. Every operation answers -20009 without the version it needs.
// Keeps no state of its own: [host] thread.
#pragma once

#include "ACF/ACFPtr.h"
#include "AAX_IACFPageTable.h"
#include "AAX_IPageTable.h"

class AAX_VPageTable : public AAX_IPageTable
{
public:
  // Queries the given object for IID_IAAXPageTableV1 and V2.
  explicit AAX_VPageTable(IACFUnknown* pUnknown);
  ~AAX_VPageTable() override;

  // True when the host page table answered version 1.
  bool IsSupported() const;

  AAX_Result Clear() override;
  AAX_Result Empty(AAX_CBoolean& oEmpty) const override;
  AAX_Result GetNumPages(int32_t& oNumPages) const override;
  AAX_Result InsertPage(int32_t iPage) override;
  AAX_Result RemovePage(int32_t iPage) override;
  AAX_Result GetNumMappedParameterIDs(int32_t iPage, int32_t& oNumParameterIDs) const override;
  AAX_Result ClearMappedParameter(int32_t iPage, int32_t iIndex) override;
  AAX_Result GetMappedParameterID(int32_t iPage, int32_t iIndex,
                                  AAX_IString& oParameterID) const override;
  AAX_Result MapParameterID(AAX_CParamID iParameterID, int32_t iPage, int32_t iIndex) override;
  AAX_Result GetNumParametersWithNameVariations(int32_t& oNumParameters) const override;
  AAX_Result GetNameVariationParameterIDAtIndex(int32_t iIndex,
                                                AAX_IString& oParameterID) const override;
  AAX_Result GetNumNameVariationsForParameter(AAX_CPageTableParamID iParameterID,
                                              int32_t& oNumVariations) const override;
  AAX_Result GetParameterNameVariationAtIndex(AAX_CPageTableParamID iParameterID, int32_t iIndex,
                                              AAX_IString& oNameVariation,
                                              int32_t& oLength) const override;
  AAX_Result GetParameterNameVariationOfLength(AAX_CPageTableParamID iParameterID, int32_t iLength,
                                               AAX_IString& oNameVariation) const override;
  AAX_Result ClearParameterNameVariations() override;
  AAX_Result ClearNameVariationsForParameter(AAX_CPageTableParamID iParameterID) override;
  AAX_Result SetParameterNameVariation(AAX_CPageTableParamID iParameterID,
                                       const AAX_IString& iNameVariation, int32_t iLength) override;

  AAX_VPageTable(const AAX_VPageTable&) = delete;
  AAX_VPageTable& operator=(const AAX_VPageTable&) = delete;

private:
  ACFPtr<AAX_IACFPageTable> mIPageTable;
  ACFPtr<AAX_IACFPageTable_V2> mIPageTableV2;
};
