// AAX component (AAXCompID_*, AAX_CompID_*) and interface (IID_IAAX*) identifiers,
// exported by the module as 16-byte data. Values: AAX_UIDs.cpp.
//
// Left out on purpose: the rest of the published set (the other AAXCompID_
// component identifiers for host processor, host processor delegate, private
// data access, effect direct data, effect parameters, effect GUI, controller,
// automation delegate, transport, view container and page-table controller),
// whose values we do not have (they are not invented here).
#pragma once

#include "ACF/acfbasetypes.h"

ACF_EXPORT extern const acfUID AAXCompID_AAXCollection; // 89882C2D-77BC-42EF-707B-7981B7BD0CCA
ACF_EXPORT extern const acfUID IID_IAAXCollectionV1;    // 96D42C2D-EBBC-41DF-B1AB-9991A2EE0CCA
ACF_EXPORT extern const acfUID
    AAXCompID_AAXEffectDescriptor;                         // 89872C2D-75BC-423F-401B-F9A1BAAD0CCA
ACF_EXPORT extern const acfUID IID_IAAXEffectDescriptorV1; // 96D42C2D-EBBC-41EF-D1CB-499442E40FDA
ACF_EXPORT extern const acfUID IID_IAAXEffectDescriptorV2; // 41ECCC52-416B-4072-84BD-40B05210A74C
ACF_EXPORT extern const acfUID
    AAXCompID_AAXComponentDescriptor; // 94872C3D-95BC-413D-D0DB-D9B12AAD0CCA
ACF_EXPORT extern const acfUID
    IID_IAAXComponentDescriptorV1; // 96E42C2D-E2BC-51EF-61C7-48994AEB0CDA
ACF_EXPORT extern const acfUID
    IID_IAAXComponentDescriptorV2; // 1895259E-AAA9-4F0F-A985-149837B76F89
ACF_EXPORT extern const acfUID
    IID_IAAXComponentDescriptorV3;                           // 979CFCD4-2BCB-43AE-9CD0-2D0ECD2ADCD5
ACF_EXPORT extern const acfUID AAXCompID_AAXPropertyMap;     // A587AD3D-D53C-4ADC-D0DD-D9D12DDDDCDA
ACF_EXPORT extern const acfUID IID_IAAXPropertyMapV1;        // 96EE2C2D-EECC-5EFF-E2D7-E849E3E2EEEE
ACF_EXPORT extern const acfUID IID_IAAXPropertyMapV2;        // 7177DF80-7C9C-11E2-B92A-0800200C9A66
ACF_EXPORT extern const acfUID IID_IAAXPropertyMapV3;        // 6D4AB208-D34B-4368-B4F1-58BC243F45C9
ACF_EXPORT extern const acfUID AAX_CompID_DescriptionHost;   // 84E184CE-353C-4928-8061-046006B31B52
ACF_EXPORT extern const acfUID IID_IAAXDescriptionHostV1;    // E5BC71DF-4C1F-4CC4-814A-5A7DD0E70EF5
ACF_EXPORT extern const acfUID AAX_CompID_FeatureInfo;       // 617D2E4F-3556-483B-B4DE-053CC3921753
ACF_EXPORT extern const acfUID IID_IAAXFeatureInfoV1;        // 24545609-A7C4-44D4-ABB8-CF13EA9D0BDF
ACF_EXPORT extern const acfUID IID_IAAXEffectParametersV1;   // 964E333D-334C-533F-C2C7-3834C3C23E3E
ACF_EXPORT extern const acfUID IID_IAAXEffectParametersV2;   // F1F47D06-308F-4CC5-9C7C-50A83F8AB813
ACF_EXPORT extern const acfUID IID_IAAXEffectParametersV3;   // D2540E9D-9163-42BB-A6FD-81E10EA32498
ACF_EXPORT extern const acfUID IID_IAAXEffectParametersV4;   // 2E485536-31A3-4697-9C16-E59BF6B28A41
ACF_EXPORT extern const acfUID IID_IAAXEffectGUIV1;          // 964E323D-424C-5E1A-2227-282423222E1E
ACF_EXPORT extern const acfUID AAXCompID_HostServices;       // 88882C2D-EBBC-42EF-C0AB-8981B0BD0CCA
ACF_EXPORT extern const acfUID IID_IAAXHostServicesV1;       // 96D42C2D-EBBC-41EF-B0AB-9991A0ED0CCA
ACF_EXPORT extern const acfUID IID_IAAXHostServicesV2;       // A207EE9E-B442-11E4-A71E-12E3F512A338
ACF_EXPORT extern const acfUID IID_IAAXHostServicesV3;       // 12BEA399-9A4F-4353-8098-3916FA71898D
ACF_EXPORT extern const acfUID IID_IAAXControllerV1;         // 9D5E3E3D-52DC-5EFB-2018-DE1DE2E63F4E
ACF_EXPORT extern const acfUID IID_IAAXControllerV2;         // 4C59AA0E-D7C0-4205-8B6C-32468D42D202
ACF_EXPORT extern const acfUID IID_IAAXControllerV3;         // DD6F168C-DA86-44F8-B864-D6CD221926E7
ACF_EXPORT extern const acfUID IID_IAAXAutomationDelegateV1; // 9D5E3D3D-42DC-5EFA-2217-EEE2E8E53E2E
ACF_EXPORT extern const acfUID IID_IAAXTransportV1;          // 5CEE4EF4-6337-4359-B63B-FE58DC36543A
ACF_EXPORT extern const acfUID IID_IAAXTransportV2;          // 203CBD9F-982C-4FE6-A827-07480257AEC3
ACF_EXPORT extern const acfUID IID_IAAXViewContainerV1;      // 22DA0BBC-D550-4D5E-8CC6-734483B8837F
ACF_EXPORT extern const acfUID IID_IAAXViewContainerV2;      // 9143A0BE-7A79-4D02-AE25-AADBA76A50B2
ACF_EXPORT extern const acfUID AAXCompID_PageTable;          // DBC22879-A24E-4AC6-9721-938B72D8E81B
ACF_EXPORT extern const acfUID IID_IAAXPageTableV1;          // 33C9E5BE-1CE3-4085-91A7-09D6F8EE4B64
ACF_EXPORT extern const acfUID IID_IAAXPageTableV2;          // D0F25D1B-9C5B-4D2E-8F1F-45BC934732F7
ACF_EXPORT extern const acfUID IID_IAAXPageTableController;  // 2E9D35FB-BACC-4B2C-B5D7-C6E851F569BD
ACF_EXPORT extern const acfUID
    IID_IAAXPageTableControllerV2; // 06C6B83E-9D87-4938-8A38-F8E45B10A24A
