#include "test_plugs.h"

#include <gtest/gtest.h>

TEST(ChannelIO, StereoStringGivesOnePair)
{
  TestPlug plug(0, "2-2");
  EXPECT_EQ(plug.NInChannels(), 2);
  EXPECT_EQ(plug.NOutChannels(), 2);
  EXPECT_EQ(plug.NChannelIO(), 1);
  EXPECT_TRUE(plug.LegalIO(2, 2));
  EXPECT_TRUE(plug.LegalIO(-1, 2));
  EXPECT_TRUE(plug.LegalIO(-1, -1));
  EXPECT_FALSE(plug.LegalIO(1, 2));
  EXPECT_FALSE(plug.LegalIO(2, 1));
}

TEST(ChannelIO, SeveralTokensKeepOrderAndTakeMaxima)
{
  TestPlug plug(0, "1-1 1-2 0-2");
  EXPECT_EQ(plug.NChannelIO(), 3);
  EXPECT_EQ(plug.NInChannels(), 1);
  EXPECT_EQ(plug.NOutChannels(), 2);
  int in = -9, out = -9;
  ASSERT_TRUE(plug.GetChannelIO(1, &in, &out));
  EXPECT_EQ(in, 1);
  EXPECT_EQ(out, 2);
  EXPECT_FALSE(plug.GetChannelIO(3, &in, &out));
  EXPECT_TRUE(plug.LegalIO(1, -1));
  EXPECT_TRUE(plug.LegalIO(0, 2));
  EXPECT_FALSE(plug.LegalIO(0, 1));
}

TEST(ChannelIO, ChannelsStartDisconnectedAndQueriesPastTheEndAreFalse)
{
  TestPlug plug(0, "2-2");
  EXPECT_FALSE(plug.IsInChannelConnected(0));
  plug.SetInputChannelConnections(0, 5, true); // clipped to the count
  EXPECT_TRUE(plug.IsInChannelConnected(0));
  EXPECT_TRUE(plug.IsInChannelConnected(1));
  EXPECT_FALSE(plug.IsInChannelConnected(2));
  EXPECT_FALSE(plug.IsOutChannelConnected(-1));
  plug.SetOutputChannelConnections(1, 1, true);
  EXPECT_FALSE(plug.IsOutChannelConnected(0));
  EXPECT_TRUE(plug.IsOutChannelConnected(1));
}

TEST(ChannelIO, LabelsAndBusLabels)
{
  TestPlug plug(0, "2-2");
  plug.SetInputLabel(1, "Right in");
  plug.SetInputLabel(2, "ignored");
  EXPECT_STREQ(plug.GetInputLabel(1), "Right in");
  EXPECT_STREQ(plug.GetInputLabel(2), "");
  plug.SetOutputLabel(0, "Left out");
  EXPECT_STREQ(plug.GetOutputLabel(0), "Left out");

  plug.SetInputBusLabel(0, "main");
  plug.SetInputBusLabel(1, "side");
  plug.SetInputBusLabel(2, "refused");
  plug.SetInputBusLabel(0, "main 2"); // replaces
  EXPECT_STREQ(plug.GetInputBusLabel(0), "main 2");
  EXPECT_STREQ(plug.GetInputBusLabel(1), "side");
  EXPECT_STREQ(plug.GetInputBusLabel(2), "");
  plug.SetOutputBusLabel(5, "appended");
  EXPECT_STREQ(plug.GetOutputBusLabel(0), "appended");
  plug.SetOutputBusLabel(-1, "refused");
  EXPECT_STREQ(plug.GetOutputBusLabel(1), "");
}
