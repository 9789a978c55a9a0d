// The GUI records and popup menus.
#include "IGraphicsStructs.h"
#include "IPopupMenu.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(IRECT, ContainsExcludesTheRightAndBottomEdgeAndNothingIsInTheEmptyRect)
{
  IRECT r(10, 20, 30, 40);
  EXPECT_EQ(r.W(), 20);
  EXPECT_EQ(r.H(), 20);
  EXPECT_FLOAT_EQ(r.MW(), 20.0f);
  EXPECT_TRUE(r.Contains(10, 20));
  EXPECT_TRUE(r.Contains(29, 39));
  EXPECT_FALSE(r.Contains(30, 39));
  EXPECT_FALSE(r.Contains(29, 40));
  EXPECT_FALSE(IRECT().Contains(0, 0));
}

TEST(IRECT, TouchingOnTheRightOrBottomEdgeIntersectsButNotOnTheLeft)
{
  IRECT a(0, 0, 10, 10);
  IRECT right(10, 0, 20, 10), below(0, 10, 10, 20), left(-10, 0, 0, 10);
  EXPECT_TRUE(a.Intersects(&right));
  EXPECT_TRUE(a.Intersects(&below));
  EXPECT_FALSE(a.Intersects(&left));
  IRECT empty;
  EXPECT_FALSE(a.Intersects(&empty));
  IRECT b(5, -5, 15, 5);
  EXPECT_EQ(a.Intersect(&b), IRECT(5, 0, 10, 5));
  IRECT far(50, 50, 60, 60);
  EXPECT_TRUE(a.Intersect(&far).Empty());
}

TEST(IRECT, UnionSkipsEmptyRectangles)
{
  IRECT a(0, 5, 10, 10), b(20, 0, 30, 8), empty;
  EXPECT_EQ(a.Union(&b), IRECT(0, 0, 30, 10));
  EXPECT_EQ(empty.Union(&b), b);
  EXPECT_EQ(a.Union(&empty), a);
}

TEST(IRECT, SubRectanglesTruncateFloatEdges)
{
  // W = 10 in 3 columns: width 3.333; lefts 0, 3, 6; rights 3, 6, 9.
  IRECT r(0, 0, 10, 7);
  EXPECT_EQ(r.SubRectHorizontal(3, 0), IRECT(0, 0, 3, 7));
  EXPECT_EQ(r.SubRectHorizontal(3, 1), IRECT(3, 0, 6, 7));
  EXPECT_EQ(r.SubRectHorizontal(3, 2), IRECT(6, 0, 9, 7));
  // H = 7 in 2 rows from T = 1 (R = 10, B = 8): height 3.5; tops 1, 4; bottoms 4, 7.
  IRECT v(0, 1, 10, 8);
  EXPECT_EQ(v.SubRectVertical(2, 0), IRECT(0, 1, 10, 4));
  EXPECT_EQ(v.SubRectVertical(2, 1), IRECT(0, 4, 10, 7));
}

TEST(IRECT, FrameRectangleOfStackedAndSideBySidePictures)
{
  IBitmap stacked(nullptr, 30, 40, 2, false), across(nullptr, 30, 40, 3, true);
  EXPECT_EQ(IRECT(5, 6, &stacked), IRECT(5, 6, 35, 26));
  EXPECT_EQ(IRECT(5, 6, &across), IRECT(5, 6, 15, 46));
}

TEST(GuiRecords, DefaultsAndPixelPacking)
{
  EXPECT_EQ(IColor(0x1ff, 0x12, 0x134, 0x56).Pixel(), 0xff123456u);
  EXPECT_EQ(COLOR_ORANGE.Pixel(), 0xffff7f00u);
  IChannelBlend blend;
  EXPECT_EQ(blend.mMethod, IChannelBlend::kBlendNone);
  EXPECT_EQ(blend.mWeight, 1.0f);
  IMouseMod mod{false, true};
  EXPECT_TRUE(mod.R && !mod.L && !mod.S && !mod.C && !mod.A);
  IText text;
  EXPECT_STREQ(text.mFont, "Monaco");
  EXPECT_EQ(text.mColor, DEFAULT_TEXT_COLOR);
  EXPECT_EQ(text.mTextEntryBGColor, COLOR_WHITE);
  EXPECT_EQ(text.mAlign, IText::kAlignCenter);
  EXPECT_EQ(text.mCached, nullptr);
  IText named(12, &COLOR_RED, "A font name longer than thirty-one characters");
  EXPECT_EQ(strlen(named.mFont), 31u);
}

TEST(IPopupMenu, InsertsAtTheFrontForNegativeIndicesAndAppendsPastTheEnd)
{
  IPopupMenu menu;
  menu.AddItem("a");
  menu.AddItem("b");
  menu.AddItem("c");
  menu.AddItem("first", 0);
  menu.AddItem("front", -5);
  menu.AddItem("last", 99);
  menu.AddSeparator(1);
  ASSERT_EQ(menu.GetNItems(), 7);
  const char* expected[] = {"front", "", "first", "a", "b", "c", "last"};
  for (int i = 0; i < 7; ++i) EXPECT_STREQ(menu.GetItemText(i), expected[i]) << i;
  EXPECT_TRUE(menu.GetItem(1)->GetIsSeparator());
  EXPECT_EQ(menu.GetItem(7), nullptr);
  EXPECT_EQ(menu.GetItemText(-1), nullptr);
  EXPECT_EQ(menu.GetChosenItemIdx(), -1);
}

TEST(IPopupMenu, PrefixOutsideZeroToThreeKeepsThePreviousOne)
{
  IPopupMenu menu(2);
  menu.SetPrefix(4);
  EXPECT_EQ(menu.GetPrefix(), 2);
  menu.SetPrefix(-1);
  EXPECT_EQ(menu.GetPrefix(), 2);
  menu.SetPrefix(0);
  EXPECT_EQ(menu.GetPrefix(), 0);
}

TEST(IPopupMenu, CheckMarksAndItemFlags)
{
  IPopupMenu menu;
  menu.AddItem("a", -1, IPopupMenuItem::kDisabled | IPopupMenuItem::kTitle);
  menu.AddItem("b");
  menu.AddItem("c");
  EXPECT_FALSE(menu.GetItem(0)->GetEnabled());
  EXPECT_TRUE(menu.GetItem(0)->GetIsTitle());
  EXPECT_FALSE(menu.CheckItem(3, true));
  EXPECT_TRUE(menu.CheckItem(0, true));
  menu.CheckItemAlone(2);
  EXPECT_FALSE(menu.IsItemChecked(0));
  EXPECT_TRUE(menu.IsItemChecked(2));
  menu.CheckItemAlone(5); // past the end: unchecks everything
  for (int i = 0; i < 3; ++i) EXPECT_FALSE(menu.IsItemChecked(i));
  EXPECT_FALSE(menu.IsItemChecked(9));
  EXPECT_FALSE(menu.GetItem(0)->GetEnabled()); // unchecking keeps other flags
}

TEST(IPopupMenu, SubmenusAreBorrowed)
{
  IPopupMenu sub;
  sub.AddItem("inner");
  {
    IPopupMenu menu;
    menu.AddItem("more", &sub);
    EXPECT_EQ(menu.GetItem(0)->GetSubmenu(), &sub);
  }
  EXPECT_STREQ(sub.GetItemText(0), "inner");
}
