#include "AAX_VPageTable.h"

#include "AAX_Errors.h"
#include "AAX_UIDs.h"

#define QV_FORWARD_V1(call) return mIPageTable ? mIPageTable->call : AAX_ERROR_UNIMPLEMENTED
#define QV_FORWARD_V2(call) return mIPageTableV2 ? mIPageTableV2->call : AAX_ERROR_UNIMPLEMENTED

AAX_VPageTable::AAX_VPageTable(IACFUnknown* pUnknown)
    : mIPageTable(pUnknown, IID_IAAXPageTableV1), mIPageTableV2(pUnknown, IID_IAAXPageTableV2)
{
}

AAX_VPageTable::~AAX_VPageTable() = default;

bool AAX_VPageTable::IsSupported() const { return static_cast<bool>(mIPageTable); }

AAX_Result AAX_VPageTable::Clear() { QV_FORWARD_V1(Clear()); }
AAX_Result AAX_VPageTable::Empty(AAX_CBoolean& oEmpty) const { QV_FORWARD_V1(Empty(oEmpty)); }
AAX_Result AAX_VPageTable::GetNumPages(int32_t& oNumPages) const
{
  QV_FORWARD_V1(GetNumPages(oNumPages));
}
AAX_Result AAX_VPageTable::InsertPage(int32_t iPage) { QV_FORWARD_V1(InsertPage(iPage)); }
AAX_Result AAX_VPageTable::RemovePage(int32_t iPage) { QV_FORWARD_V1(RemovePage(iPage)); }
AAX_Result AAX_VPageTable::GetNumMappedParameterIDs(int32_t iPage, int32_t& oNumParameterIDs) const
{
  QV_FORWARD_V1(GetNumMappedParameterIDs(iPage, oNumParameterIDs));
}
AAX_Result AAX_VPageTable::ClearMappedParameter(int32_t iPage, int32_t iIndex)
{
  QV_FORWARD_V1(ClearMappedParameter(iPage, iIndex));
}
AAX_Result AAX_VPageTable::GetMappedParameterID(int32_t iPage, int32_t iIndex,
                                                AAX_IString& oParameterID) const
{
  QV_FORWARD_V1(GetMappedParameterID(iPage, iIndex, oParameterID));
}
AAX_Result AAX_VPageTable::MapParameterID(AAX_CParamID iParameterID, int32_t iPage, int32_t iIndex)
{
  QV_FORWARD_V1(MapParameterID(iParameterID, iPage, iIndex));
}
AAX_Result AAX_VPageTable::GetNumParametersWithNameVariations(int32_t& oNumParameters) const
{
  QV_FORWARD_V2(GetNumParametersWithNameVariations(oNumParameters));
}
AAX_Result AAX_VPageTable::GetNameVariationParameterIDAtIndex(int32_t iIndex,
                                                              AAX_IString& oParameterID) const
{
  QV_FORWARD_V2(GetNameVariationParameterIDAtIndex(iIndex, oParameterID));
}
AAX_Result AAX_VPageTable::GetNumNameVariationsForParameter(AAX_CPageTableParamID iParameterID,
                                                            int32_t& oNumVariations) const
{
  QV_FORWARD_V2(GetNumNameVariationsForParameter(iParameterID, oNumVariations));
}
AAX_Result AAX_VPageTable::GetParameterNameVariationAtIndex(AAX_CPageTableParamID iParameterID,
                                                            int32_t iIndex,
                                                            AAX_IString& oNameVariation,
                                                            int32_t& oLength) const
{
  QV_FORWARD_V2(GetParameterNameVariationAtIndex(iParameterID, iIndex, oNameVariation, oLength));
}
AAX_Result AAX_VPageTable::GetParameterNameVariationOfLength(AAX_CPageTableParamID iParameterID,
                                                             int32_t iLength,
                                                             AAX_IString& oNameVariation) const
{
  QV_FORWARD_V2(GetParameterNameVariationOfLength(iParameterID, iLength, oNameVariation));
}
AAX_Result AAX_VPageTable::ClearParameterNameVariations()
{
  QV_FORWARD_V2(ClearParameterNameVariations());
}
AAX_Result AAX_VPageTable::ClearNameVariationsForParameter(AAX_CPageTableParamID iParameterID)
{
  QV_FORWARD_V2(ClearNameVariationsForParameter(iParameterID));
}
AAX_Result AAX_VPageTable::SetParameterNameVariation(AAX_CPageTableParamID iParameterID,
                                                     const AAX_IString& iNameVariation,
                                                     int32_t iLength)
{
  QV_FORWARD_V2(SetParameterNameVariation(iParameterID, iNameVariation, iLength));
}
