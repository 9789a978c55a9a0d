// Host page table interfaces, versions 1 and 2: pages of parameter
// identifiers for control surfaces, and parameter name variations.
#pragma once

#include "ACF/acfunknown.h"
#include "AAX.h"
#include "AAX_IString.h"

// Contract: 0 on success or a host failure code (positions out of range are
// refused); texts are copied into the caller's AAX_IString. Thread: [host].
class AAX_IACFPageTable : public IACFUnknown
{
public:
  virtual AAX_Result Clear() = 0;                                                            // 3
  virtual AAX_Result Empty(AAX_CBoolean& oEmpty) = 0;                                        // 4
  virtual AAX_Result GetNumPages(int32_t& oNumPages) = 0;                                    // 5
  virtual AAX_Result InsertPage(int32_t iPage) = 0;                                          // 6
  virtual AAX_Result RemovePage(int32_t iPage) = 0;                                          // 7
  virtual AAX_Result GetNumMappedParameterIDs(int32_t iPage, int32_t& oNumParameterIDs) = 0; // 8
  virtual AAX_Result ClearMappedParameter(int32_t iPage, int32_t iIndex) = 0;                // 9
  virtual AAX_Result GetMappedParameterID(int32_t iPage, int32_t iIndex,                     //
                                          AAX_IString& oParameterID) = 0;                    // 10
  virtual AAX_Result MapParameterID(AAX_CParamID iParameterID, int32_t iPage,                //
                                    int32_t iIndex) = 0;                                     // 11

protected:
  ~AAX_IACFPageTable() = default;
};

class AAX_IACFPageTable_V2 : public AAX_IACFPageTable
{
public:
  virtual AAX_Result GetNumParametersWithNameVariations(int32_t& oNumParameters) = 0;         // 12
  virtual AAX_Result GetNameVariationParameterIDAtIndex(int32_t iIndex,                       //
                                                        AAX_IString& oParameterID) = 0;       // 13
  virtual AAX_Result GetNumNameVariationsForParameter(AAX_CPageTableParamID iParameterID,     //
                                                      int32_t& oNumVariations) = 0;           // 14
  virtual AAX_Result GetParameterNameVariationAtIndex(AAX_CPageTableParamID iParameterID,     //
                                                      int32_t iIndex,                         //
                                                      AAX_IString& oNameVariation,            //
                                                      int32_t& oLength) = 0;                  // 15
  virtual AAX_Result GetParameterNameVariationOfLength(AAX_CPageTableParamID iParameterID,    //
                                                       int32_t iLength,                       //
                                                       AAX_IString& oNameVariation) = 0;      // 16
  virtual AAX_Result ClearParameterNameVariations() = 0;                                      // 17
  virtual AAX_Result ClearNameVariationsForParameter(AAX_CPageTableParamID iParameterID) = 0; // 18
  virtual AAX_Result SetParameterNameVariation(AAX_CPageTableParamID iParameterID,            //
                                               const AAX_IString& iNameVariation,             //
                                               int32_t iLength) = 0;                          // 19

protected:
  ~AAX_IACFPageTable_V2() = default;
};
