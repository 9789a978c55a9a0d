#include "Hosts.h"

#include <gtest/gtest.h>

#include <string>

TEST(Hosts, LookUpIsCaseInsensitiveSubstringInFixedOrder)
{
  EXPECT_EQ(LookUpHost("ProTools"), kHostProTools);
  EXPECT_EQ(LookUpHost("Pro Tools"), kHostUnknown); // the key has no space
  EXPECT_EQ(LookUpHost("Steinberg NUENDO 12"), kHostNuendo);
  EXPECT_EQ(LookUpHost("live and logic"), kHostAbletonLive); // "live" first
  EXPECT_EQ(LookUpHost("Cakewalk"), kHostSonar);
  EXPECT_EQ(LookUpHost("Fruity Loops"), kHostFL);
  EXPECT_EQ(LookUpHost("Digital Performer"), kHostDigitalPerformer);
  EXPECT_EQ(LookUpHost("PreSonus Studio One"), kHostStudioOne);
  EXPECT_EQ(LookUpHost("Melodyne"), kHostMelodyneStudio);
  EXPECT_EQ(LookUpHost(""), kHostUnknown);
  EXPECT_EQ(LookUpHost(nullptr), kHostUnknown);
  // "cubase" is tested before "nuendo" and "reaper".
  EXPECT_EQ(LookUpHost("reaper-cubase"), kHostCubase);
}

TEST(Hosts, OnlyTheFirst255CharactersAreSearched)
{
  std::string name(255, 'x');
  EXPECT_EQ(LookUpHost((name + "reaper").c_str()), kHostUnknown);
  EXPECT_EQ(LookUpHost((std::string(249, 'x') + "reaper").c_str()), kHostReaper);
}

TEST(Hosts, NamesComeFromTheTable)
{
  char buf[32];
  const struct
  {
    EHost host;
    const char* name;
  } rows[] = {
      {kHostUninit, "Unknown"},      {kHostUnknown, "Unknown"},
      {kHostReaper, "Reaper"},       {kHostSonar, "Sonar"},
      {kHostVegas, "Vegas"},         {kHostFL, "FLStudio"},
      {kHostTracktion, "Unknown"},   {kHostNTracks, "Unknown"},
      {kHostMelodyneStudio, "Unknown"}, {kHostVSTScanner, "VSTScanner"},
      {kHostBias, "Unknown"},        {kHostSAWStudio, "SAWStudio"},
      {kHostDigitalPerformer, "DigitalPerformer"}, {kHostStudioOne, "StudioOne"},
      {kHostVST3TestHost, "VST3PluginTestHost"},   {kHostOpenMPT, "OpenMPT"},
      {static_cast<EHost>(99), "Unknown"},
  };
  for (const auto& r : rows)
  {
    GetHostNameStr(r.host, buf);
    EXPECT_STREQ(buf, r.name) << "host " << r.host;
  }
}
