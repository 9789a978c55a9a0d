#include "HostPageTable.h"

#include "ACF/acfuids.h"
#include "AAX_Errors.h"
#include "AAX_UIDs.h"

namespace aaxhost
{
HostPageTable::HostPageTable(int version) : mVersion(version) {}

void* HostPageTable::Answer(const acfIID& iid)
{
  if (iid == IID_IACFUnknown || iid == IID_IAAXPageTableV1 ||
      (iid == IID_IAAXPageTableV2 && mVersion >= 2))
    return static_cast<AAX_IACFPageTable_V2*>(this);
  return nullptr;
}

bool HostPageTable::ValidSlotLocked(int32_t page, int32_t index) const
{
  return page >= 0 && page < static_cast<int32_t>(mPages.size()) && index >= 0 &&
         index < static_cast<int32_t>(mPages[page].size());
}

AAX_Result HostPageTable::Clear()
{
  mCalls.Add("Clear", "");
  std::lock_guard<std::mutex> lock(mMutex);
  mPages.clear();
  return AAX_SUCCESS;
}

AAX_Result HostPageTable::Empty(AAX_CBoolean& oEmpty)
{
  mCalls.Add("Empty", "");
  std::lock_guard<std::mutex> lock(mMutex);
  oEmpty = mPages.empty() ? 1 : 0;
  return AAX_SUCCESS;
}

AAX_Result HostPageTable::GetNumPages(int32_t& oNumPages)
{
  mCalls.Add("GetNumPages", "");
  std::lock_guard<std::mutex> lock(mMutex);
  oNumPages = static_cast<int32_t>(mPages.size());
  return AAX_SUCCESS;
}

AAX_Result HostPageTable::InsertPage(int32_t iPage)
{
  mCalls.Add("InsertPage", Args(iPage));
  std::lock_guard<std::mutex> lock(mMutex);
  if (iPage < 0 || iPage > static_cast<int32_t>(mPages.size())) return AAX_ERROR_INVALID_ARGUMENT;
  mPages.insert(mPages.begin() + iPage, std::vector<std::string>());
  return AAX_SUCCESS;
}

AAX_Result HostPageTable::RemovePage(int32_t iPage)
{
  mCalls.Add("RemovePage", Args(iPage));
  std::lock_guard<std::mutex> lock(mMutex);
  if (iPage < 0 || iPage >= static_cast<int32_t>(mPages.size())) return AAX_ERROR_INVALID_ARGUMENT;
  mPages.erase(mPages.begin() + iPage);
  return AAX_SUCCESS;
}

AAX_Result HostPageTable::GetNumMappedParameterIDs(int32_t iPage, int32_t& oNumParameterIDs)
{
  mCalls.Add("GetNumMappedParameterIDs", Args(iPage));
  std::lock_guard<std::mutex> lock(mMutex);
  if (iPage < 0 || iPage >= static_cast<int32_t>(mPages.size())) return AAX_ERROR_INVALID_ARGUMENT;
  oNumParameterIDs = static_cast<int32_t>(mPages[iPage].size());
  return AAX_SUCCESS;
}

AAX_Result HostPageTable::ClearMappedParameter(int32_t iPage, int32_t iIndex)
{
  mCalls.Add("ClearMappedParameter", Args(iPage, iIndex));
  std::lock_guard<std::mutex> lock(mMutex);
  if (!ValidSlotLocked(iPage, iIndex)) return AAX_ERROR_INVALID_ARGUMENT;
  mPages[iPage][iIndex].clear();
  return AAX_SUCCESS;
}

AAX_Result HostPageTable::GetMappedParameterID(int32_t iPage, int32_t iIndex,
                                               AAX_IString& oParameterID)
{
  mCalls.Add("GetMappedParameterID", Args(iPage, iIndex));
  std::string id;
  {
    std::lock_guard<std::mutex> lock(mMutex);
    if (!ValidSlotLocked(iPage, iIndex)) return AAX_ERROR_INVALID_ARGUMENT;
    id = mPages[iPage][iIndex];
  }
  oParameterID.Set(id.c_str());
  return AAX_SUCCESS;
}

AAX_Result HostPageTable::MapParameterID(AAX_CParamID iParameterID, int32_t iPage, int32_t iIndex)
{
  mCalls.Add("MapParameterID", Args(iParameterID, iPage, iIndex));
  if (!iParameterID) return AAX_ERROR_NULL_ARGUMENT;
  std::lock_guard<std::mutex> lock(mMutex);
  if (iPage < 0 || iPage >= static_cast<int32_t>(mPages.size()) || iIndex < 0 || iIndex > 0xFFFF)
    return AAX_ERROR_INVALID_ARGUMENT;
  auto& page = mPages[iPage];
  if (iIndex >= static_cast<int32_t>(page.size())) page.resize(iIndex + 1);
  page[iIndex] = iParameterID;
  return AAX_SUCCESS;
}

AAX_Result HostPageTable::GetNumParametersWithNameVariations(int32_t& oNumParameters)
{
  mCalls.Add("GetNumParametersWithNameVariations", "");
  std::lock_guard<std::mutex> lock(mMutex);
  oNumParameters = static_cast<int32_t>(mNameVariations.size());
  return AAX_SUCCESS;
}

AAX_Result HostPageTable::GetNameVariationParameterIDAtIndex(int32_t iIndex,
                                                             AAX_IString& oParameterID)
{
  mCalls.Add("GetNameVariationParameterIDAtIndex", Args(iIndex));
  std::string id;
  {
    std::lock_guard<std::mutex> lock(mMutex);
    if (iIndex < 0 || iIndex >= static_cast<int32_t>(mNameVariations.size()))
      return AAX_ERROR_INVALID_ARGUMENT;
    id = std::next(mNameVariations.begin(), iIndex)->first;
  }
  oParameterID.Set(id.c_str());
  return AAX_SUCCESS;
}

AAX_Result HostPageTable::GetNumNameVariationsForParameter(AAX_CPageTableParamID iParameterID,
                                                           int32_t& oNumVariations)
{
  mCalls.Add("GetNumNameVariationsForParameter", Args(iParameterID));
  if (!iParameterID) return AAX_ERROR_NULL_ARGUMENT;
  std::lock_guard<std::mutex> lock(mMutex);
  auto it = mNameVariations.find(iParameterID);
  oNumVariations = it == mNameVariations.end() ? 0 : static_cast<int32_t>(it->second.size());
  return AAX_SUCCESS;
}

AAX_Result HostPageTable::GetParameterNameVariationAtIndex(AAX_CPageTableParamID iParameterID,
                                                           int32_t iIndex,
                                                           AAX_IString& oNameVariation,
                                                           int32_t& oLength)
{
  mCalls.Add("GetParameterNameVariationAtIndex", Args(iParameterID, iIndex));
  if (!iParameterID) return AAX_ERROR_NULL_ARGUMENT;
  std::string name;
  {
    std::lock_guard<std::mutex> lock(mMutex);
    auto it = mNameVariations.find(iParameterID);
    if (it == mNameVariations.end() || iIndex < 0 ||
        iIndex >= static_cast<int32_t>(it->second.size()))
      return AAX_ERROR_INVALID_ARGUMENT;
    auto v = std::next(it->second.begin(), iIndex);
    oLength = v->first;
    name = v->second;
  }
  oNameVariation.Set(name.c_str());
  return AAX_SUCCESS;
}

AAX_Result HostPageTable::GetParameterNameVariationOfLength(AAX_CPageTableParamID iParameterID,
                                                            int32_t iLength,
                                                            AAX_IString& oNameVariation)
{
  mCalls.Add("GetParameterNameVariationOfLength", Args(iParameterID, iLength));
  if (!iParameterID) return AAX_ERROR_NULL_ARGUMENT;
  std::string name;
  {
    std::lock_guard<std::mutex> lock(mMutex);
    auto it = mNameVariations.find(iParameterID);
    if (it == mNameVariations.end()) return AAX_ERROR_INVALID_ARGUMENT;
    auto v = it->second.find(iLength);
    if (v == it->second.end()) return AAX_ERROR_INVALID_ARGUMENT;
    name = v->second;
  }
  oNameVariation.Set(name.c_str());
  return AAX_SUCCESS;
}

AAX_Result HostPageTable::ClearParameterNameVariations()
{
  mCalls.Add("ClearParameterNameVariations", "");
  std::lock_guard<std::mutex> lock(mMutex);
  mNameVariations.clear();
  return AAX_SUCCESS;
}

AAX_Result HostPageTable::ClearNameVariationsForParameter(AAX_CPageTableParamID iParameterID)
{
  mCalls.Add("ClearNameVariationsForParameter", Args(iParameterID));
  if (!iParameterID) return AAX_ERROR_NULL_ARGUMENT;
  std::lock_guard<std::mutex> lock(mMutex);
  mNameVariations.erase(iParameterID);
  return AAX_SUCCESS;
}

AAX_Result HostPageTable::SetParameterNameVariation(AAX_CPageTableParamID iParameterID,
                                                    const AAX_IString& iNameVariation,
                                                    int32_t iLength)
{
  const std::string name = iNameVariation.Get() ? iNameVariation.Get() : "";
  mCalls.Add("SetParameterNameVariation", Args(iParameterID, name.c_str(), iLength));
  if (!iParameterID) return AAX_ERROR_NULL_ARGUMENT;
  if (iLength < 0) return AAX_ERROR_INVALID_ARGUMENT;
  std::lock_guard<std::mutex> lock(mMutex);
  mNameVariations[iParameterID][iLength] = name;
  return AAX_SUCCESS;
}

std::vector<std::vector<std::string>> HostPageTable::Pages() const
{
  std::lock_guard<std::mutex> lock(mMutex);
  return mPages;
}
} // namespace aaxhost
