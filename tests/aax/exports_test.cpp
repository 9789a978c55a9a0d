// The exported identifier texts.
#include "AAX_Exports.h"

#include <gtest/gtest.h>

#include <string>

TEST(Exports, IdentifierTextsAreTheFixedNames)
{
  EXPECT_EQ(std::string(cDefaultMasterBypassID), "MasterBypassID");
  EXPECT_EQ(std::string(cPreviewID), "PreviewID");
}
