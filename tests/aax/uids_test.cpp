// Identifier values against their published 8-4-4-4-12 texts: the texts are
// parsed here, the bytes are not restated.
#include "ACF/acfuids.h"
#include "AAX_UIDs.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace
{
// Parses "XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX": first word, second word, third
// word, then the 8 bytes in storage order.
_acfUID Parse(const std::string& text)
{
  EXPECT_EQ(text.size(), 36u) << text;
  auto hex = [&](size_t pos, size_t n)
  { return std::strtoul(text.substr(pos, n).c_str(), nullptr, 16); };
  _acfUID u{};
  u.Data1 = static_cast<acfUInt32>(hex(0, 8));
  u.Data2 = static_cast<acfUInt16>(hex(9, 4));
  u.Data3 = static_cast<acfUInt16>(hex(14, 4));
  const std::string tail = text.substr(19, 4) + text.substr(24, 12);
  for (int i = 0; i < 8; ++i)
    u.Data4[i] = static_cast<acfUInt8>(std::strtoul(tail.substr(2 * i, 2).c_str(), nullptr, 16));
  return u;
}

struct Row
{
  const char* text;
  const _acfUID* id;
};

const Row kTable[] = {
    {"00000000-0000-0000-C000-000000000046", &IID_IACFUnknown},
    {"00EEF015-7FD0-11D6-8485-00306542A024", &IID_IACFPluginDefinition},
    {"382B6A96-7FD0-11D6-BCFE-00306542A024", &IID_IACFComponentFactory},
    {"E51741F1-7FCF-11D6-AAC3-00306542A024", &IID_IACFDefinition},
    {"89882C2D-77BC-42EF-707B-7981B7BD0CCA", &AAXCompID_AAXCollection},
    {"96D42C2D-EBBC-41DF-B1AB-9991A2EE0CCA", &IID_IAAXCollectionV1},
    {"89872C2D-75BC-423F-401B-F9A1BAAD0CCA", &AAXCompID_AAXEffectDescriptor},
    {"96D42C2D-EBBC-41EF-D1CB-499442E40FDA", &IID_IAAXEffectDescriptorV1},
    {"41ECCC52-416B-4072-84BD-40B05210A74C", &IID_IAAXEffectDescriptorV2},
    {"94872C3D-95BC-413D-D0DB-D9B12AAD0CCA", &AAXCompID_AAXComponentDescriptor},
    {"96E42C2D-E2BC-51EF-61C7-48994AEB0CDA", &IID_IAAXComponentDescriptorV1},
    {"1895259E-AAA9-4F0F-A985-149837B76F89", &IID_IAAXComponentDescriptorV2},
    {"979CFCD4-2BCB-43AE-9CD0-2D0ECD2ADCD5", &IID_IAAXComponentDescriptorV3},
    {"A587AD3D-D53C-4ADC-D0DD-D9D12DDDDCDA", &AAXCompID_AAXPropertyMap},
    {"96EE2C2D-EECC-5EFF-E2D7-E849E3E2EEEE", &IID_IAAXPropertyMapV1},
    {"7177DF80-7C9C-11E2-B92A-0800200C9A66", &IID_IAAXPropertyMapV2},
    {"6D4AB208-D34B-4368-B4F1-58BC243F45C9", &IID_IAAXPropertyMapV3},
    {"84E184CE-353C-4928-8061-046006B31B52", &AAX_CompID_DescriptionHost},
    {"E5BC71DF-4C1F-4CC4-814A-5A7DD0E70EF5", &IID_IAAXDescriptionHostV1},
    {"617D2E4F-3556-483B-B4DE-053CC3921753", &AAX_CompID_FeatureInfo},
    {"24545609-A7C4-44D4-ABB8-CF13EA9D0BDF", &IID_IAAXFeatureInfoV1},
    {"964E333D-334C-533F-C2C7-3834C3C23E3E", &IID_IAAXEffectParametersV1},
    {"F1F47D06-308F-4CC5-9C7C-50A83F8AB813", &IID_IAAXEffectParametersV2},
    {"D2540E9D-9163-42BB-A6FD-81E10EA32498", &IID_IAAXEffectParametersV3},
    {"2E485536-31A3-4697-9C16-E59BF6B28A41", &IID_IAAXEffectParametersV4},
    {"964E323D-424C-5E1A-2227-282423222E1E", &IID_IAAXEffectGUIV1},
    {"88882C2D-EBBC-42EF-C0AB-8981B0BD0CCA", &AAXCompID_HostServices},
    {"96D42C2D-EBBC-41EF-B0AB-9991A0ED0CCA", &IID_IAAXHostServicesV1},
    {"A207EE9E-B442-11E4-A71E-12E3F512A338", &IID_IAAXHostServicesV2},
    {"12BEA399-9A4F-4353-8098-3916FA71898D", &IID_IAAXHostServicesV3},
    {"9D5E3E3D-52DC-5EFB-2018-DE1DE2E63F4E", &IID_IAAXControllerV1},
    {"4C59AA0E-D7C0-4205-8B6C-32468D42D202", &IID_IAAXControllerV2},
    {"DD6F168C-DA86-44F8-B864-D6CD221926E7", &IID_IAAXControllerV3},
    {"9D5E3D3D-42DC-5EFA-2217-EEE2E8E53E2E", &IID_IAAXAutomationDelegateV1},
    {"5CEE4EF4-6337-4359-B63B-FE58DC36543A", &IID_IAAXTransportV1},
    {"203CBD9F-982C-4FE6-A827-07480257AEC3", &IID_IAAXTransportV2},
    {"22DA0BBC-D550-4D5E-8CC6-734483B8837F", &IID_IAAXViewContainerV1},
    {"9143A0BE-7A79-4D02-AE25-AADBA76A50B2", &IID_IAAXViewContainerV2},
    {"DBC22879-A24E-4AC6-9721-938B72D8E81B", &AAXCompID_PageTable},
    {"33C9E5BE-1CE3-4085-91A7-09D6F8EE4B64", &IID_IAAXPageTableV1},
    {"D0F25D1B-9C5B-4D2E-8F1F-45BC934732F7", &IID_IAAXPageTableV2},
    {"2E9D35FB-BACC-4B2C-B5D7-C6E851F569BD", &IID_IAAXPageTableController},
    {"06C6B83E-9D87-4938-8A38-F8E45B10A24A", &IID_IAAXPageTableControllerV2},
};
} // namespace

TEST(Identifiers, EveryTabledIdentifierHasItsPublishedValue)
{
  for (const Row& row : kTable)
  {
    const _acfUID expected = Parse(row.text);
    EXPECT_TRUE(*row.id == expected) << row.text;
    EXPECT_EQ(0, std::memcmp(row.id, &expected, 16)) << row.text;
  }
}

TEST(Identifiers, AreSixteenBytesStoredInMachineOrder)
{
  static_assert(sizeof(_acfUID) == 16, "16-byte identifier");
  // IID_IACFUnknown's last byte pair is C0 ... 46; its words are zero.
  const auto* bytes = reinterpret_cast<const unsigned char*>(&IID_IACFUnknown);
  EXPECT_EQ(bytes[8], 0xC0);
  EXPECT_EQ(bytes[15], 0x46);
  // The first word is stored little-endian on x86-64.
  const auto* factory = reinterpret_cast<const unsigned char*>(&IID_IACFComponentFactory);
  EXPECT_EQ(factory[0], 0x96);
  EXPECT_EQ(factory[3], 0x38);
}

TEST(Identifiers, AllTabledIdentifiersAreDistinct)
{
  const size_t n = sizeof(kTable) / sizeof(kTable[0]);
  EXPECT_EQ(n, 43u);
  for (size_t i = 0; i < n; ++i)
    for (size_t j = i + 1; j < n; ++j)
      EXPECT_FALSE(*kTable[i].id == *kTable[j].id) << kTable[i].text;
}

TEST(Identifiers, EqualityComparesEveryByte)
{
  for (int byte = 0; byte < 16; ++byte)
  {
    _acfUID changed = IID_IAAXControllerV1;
    reinterpret_cast<unsigned char*>(&changed)[byte] ^= 0x01;
    EXPECT_FALSE(changed == IID_IAAXControllerV1) << "byte " << byte;
    EXPECT_TRUE(changed != IID_IAAXControllerV1);
  }
  _acfUID copy = IID_IAAXControllerV1;
  EXPECT_TRUE(copy == IID_IAAXControllerV1);
}

TEST(Identifiers, ZeroIdentifiersAreAllZero)
{
  const unsigned char zero[16] = {};
  EXPECT_EQ(0, std::memcmp(&acfUID_NULL, zero, 16));
  EXPECT_EQ(0, std::memcmp(&ACF_CUSTOM_DATAGRAPH, zero, 16));
  EXPECT_EQ(0, std::memcmp(&ABOUT_BOX_GUID, zero, 16));
}
