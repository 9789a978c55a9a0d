// Host page-table controller interfaces, versions 1 and 2: the host
// copies one of its page tables into a page table that the plug-in created
// through the component factory (oPageTable, an AAXCompID_PageTable component).
#pragma once

#include "ACF/acfunknown.h"
#include "AAX.h"

// Contract: 0 when the host filled oPageTable (which stays the caller's), a
// host failure code otherwise. Thread: [host].
class AAX_IACFPageTableController : public IACFUnknown
{
public:
  // 3: the table of an effect named by its manufacturer, product and plug-in ids.
  virtual AAX_Result CreateTableCopyForEffect(AAX_CPropertyValue iManufacturerID,
                                              AAX_CPropertyValue iProductID,
                                              AAX_CPropertyValue iPlugInID, uint32_t iTableType,
                                              int32_t iTablePageSize, IACFUnknown* oPageTable) = 0;
  // 4: the table of a layout of an effect.
  virtual AAX_Result CreateTableCopyForLayout(const char* iEffectID, const char* iLayoutName,
                                              uint32_t iTableType, int32_t iTablePageSize,
                                              IACFUnknown* oPageTable) = 0;

protected:
  ~AAX_IACFPageTableController() = default;
};

class AAX_IACFPageTableController_V2 : public AAX_IACFPageTableController
{
public:
  // 5: as 3, from a page-table file.
  virtual AAX_Result CreateTableCopyForEffectFromFile(const char* iPageTableFilePath,
                                                      AAX_ETextEncoding iFilePathEncoding,
                                                      AAX_CPropertyValue iManufacturerID,
                                                      AAX_CPropertyValue iProductID,
                                                      AAX_CPropertyValue iPlugInID,
                                                      uint32_t iTableType, int32_t iTablePageSize,
                                                      IACFUnknown* oPageTable) = 0;
  // 6: as 4, from a page-table file.
  virtual AAX_Result CreateTableCopyForLayoutFromFile(const char* iPageTableFilePath,
                                                      AAX_ETextEncoding iFilePathEncoding,
                                                      const char* iLayoutName, uint32_t iTableType,
                                                      int32_t iTablePageSize,
                                                      IACFUnknown* oPageTable) = 0;

protected:
  ~AAX_IACFPageTableController_V2() = default;
};
