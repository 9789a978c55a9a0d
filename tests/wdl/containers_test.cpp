#include "heapbuf.h"
#include "ptrlist.h"
#include "wdlstring.h"

#include <gtest/gtest.h>

namespace
{
struct Counted
{
  explicit Counted(int* c) : count(c) { ++*count; }
  ~Counted() { --*count; }
  int* count;
};
} // namespace

TEST(PtrList, GetOutOfRangeGivesNull)
{
  WDL_PtrList<int> list;
  int a = 1, b = 2;
  list.Add(&a);
  list.Add(&b);
  EXPECT_EQ(list.Get(0), &a);
  EXPECT_EQ(list.Get(1), &b);
  EXPECT_EQ(list.Get(2), nullptr);
  EXPECT_EQ(list.Get(-1), nullptr);
}

TEST(PtrList, InsertPastEndAppendsAndDeleteFreesOnlyWhenAsked)
{
  int live = 0;
  {
    WDL_PtrList_DeleteOnDestroy<Counted> list;
    Counted* first = list.Add(new Counted(&live));
    list.Insert(0, new Counted(&live));
    list.Insert(99, new Counted(&live));
    EXPECT_EQ(list.Get(1), first);
    EXPECT_EQ(live, 3);
    list.Delete(0, true);
    EXPECT_EQ(live, 2);
    list.Delete(0, false); // removed, not freed
    EXPECT_EQ(live, 2);
    delete first;
    EXPECT_EQ(live, 1);
  }
  EXPECT_EQ(live, 0);
}

TEST(TypedBuf, ResizeKeepsPrefixAndZeroesGrowth)
{
  WDL_TypedBuf<double> buf;
  EXPECT_EQ(buf.Get(), nullptr);
  buf.Resize(2);
  buf.Get()[0] = 1.5;
  buf.Get()[1] = -2.0;
  buf.Resize(4);
  EXPECT_EQ(buf.Get()[0], 1.5);
  EXPECT_EQ(buf.Get()[1], -2.0);
  EXPECT_EQ(buf.Get()[2], 0.0);
  EXPECT_EQ(buf.Get()[3], 0.0);
  buf.Resize(-3);
  EXPECT_EQ(buf.GetSize(), 0);
}

TEST(HeapBuf, AddAppendsBytes)
{
  WDL_HeapBuf buf;
  buf.Add("ab", 2);
  buf.Add(nullptr, 2);
  ASSERT_EQ(buf.GetSize(), 4);
  const unsigned char* p = static_cast<const unsigned char*>(buf.Get());
  EXPECT_EQ(p[0], 'a');
  EXPECT_EQ(p[1], 'b');
  EXPECT_EQ(p[2], 0);
  EXPECT_EQ(p[3], 0);
}

TEST(WdlString, FormatsAndTruncates)
{
  WDL_String s;
  EXPECT_STREQ(s.Get(), "");
  s.SetFormatted("v%d.%d.%d", 1, 2, 3);
  EXPECT_STREQ(s.Get(), "v1.2.3");
  s.AppendFormatted("%s", "D");
  EXPECT_STREQ(s.Get(), "v1.2.3D");
  s.Set("abcdef", 3);
  EXPECT_STREQ(s.Get(), "abc");
  s.Set(nullptr);
  EXPECT_STREQ(s.Get(), "");
}
