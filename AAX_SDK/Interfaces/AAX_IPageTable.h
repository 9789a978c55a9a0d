// AAX_IPageTable: the plug-in side's view of a host page table;
// AAX_VPageTable implements it. Every operation gives -20009 without the host
// interface version it needs. Thread: [host].
#pragma once

#include "AAX.h"
#include "AAX_IString.h"

class AAX_IPageTable
{
public:
  virtual ~AAX_IPageTable() {}

  virtual AAX_Result Clear() = 0;
  virtual AAX_Result Empty(AAX_CBoolean& oEmpty) const = 0;
  virtual AAX_Result GetNumPages(int32_t& oNumPages) const = 0;
  virtual AAX_Result InsertPage(int32_t iPage) = 0;
  virtual AAX_Result RemovePage(int32_t iPage) = 0;
  virtual AAX_Result GetNumMappedParameterIDs(int32_t iPage, int32_t& oNumParameterIDs) const = 0;
  virtual AAX_Result ClearMappedParameter(int32_t iPage, int32_t iIndex) = 0;
  virtual AAX_Result GetMappedParameterID(int32_t iPage, int32_t iIndex,
                                          AAX_IString& oParameterID) const = 0;
  virtual AAX_Result MapParameterID(AAX_CParamID iParameterID, int32_t iPage, int32_t iIndex) = 0;
  virtual AAX_Result GetNumParametersWithNameVariations(int32_t& oNumParameters) const = 0;
  virtual AAX_Result GetNameVariationParameterIDAtIndex(int32_t iIndex,
                                                        AAX_IString& oParameterID) const = 0;
  virtual AAX_Result GetNumNameVariationsForParameter(AAX_CPageTableParamID iParameterID,
                                                      int32_t& oNumVariations) const = 0;
  virtual AAX_Result GetParameterNameVariationAtIndex(AAX_CPageTableParamID iParameterID,
                                                      int32_t iIndex, AAX_IString& oNameVariation,
                                                      int32_t& oLength) const = 0;
  virtual AAX_Result GetParameterNameVariationOfLength(AAX_CPageTableParamID iParameterID,
                                                       int32_t iLength,
                                                       AAX_IString& oNameVariation) const = 0;
  virtual AAX_Result ClearParameterNameVariations() = 0;
  virtual AAX_Result ClearNameVariationsForParameter(AAX_CPageTableParamID iParameterID) = 0;
  virtual AAX_Result SetParameterNameVariation(AAX_CPageTableParamID iParameterID,
                                               const AAX_IString& iNameVariation,
                                               int32_t iLength) = 0;
};
