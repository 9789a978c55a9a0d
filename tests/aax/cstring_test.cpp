// AAX_CString, with hand-worked values.
#include "AAX_CString.h"

#include <gtest/gtest.h>

#include <locale>
#include <sstream>
#include <stdexcept>
#include <utility>

namespace
{
// A foreign AAX_IString: AAX_CString may read it only through Get.
class ForeignString : public AAX_IString
{
public:
  uint32_t Length() const override { return static_cast<uint32_t>(mText.size()); }
  uint32_t MaxLength() const override { return 31; }
  const char* Get() const override { return mText.c_str(); }
  void Set(const char* s) override { mText = s ? s : ""; }
  AAX_IString& operator=(const AAX_IString& o) override
  {
    Set(o.Get());
    return *this;
  }
  AAX_IString& operator=(const char* s) override
  {
    Set(s);
    return *this;
  }

private:
  std::string mText;
};

std::string Appended(double v, int32_t precision)
{
  AAX_CString s;
  s.AppendNumber(v, precision);
  return s.StdString();
}
} // namespace

TEST(AAXCString, ConstructionFromEveryKindOfText)
{
  EXPECT_TRUE(AAX_CString().Empty());
  EXPECT_TRUE(AAX_CString(static_cast<const char*>(nullptr)).Empty());
  EXPECT_EQ(AAX_CString("abc").StdString(), "abc");
  EXPECT_EQ(AAX_CString(std::string("xy")).StdString(), "xy");
  AAX_CString original("copy");
  EXPECT_EQ(AAX_CString(original).StdString(), "copy");
  ForeignString foreign;
  foreign.Set("foreign");
  EXPECT_EQ(AAX_CString(static_cast<const AAX_IString&>(foreign)).StdString(), "foreign");
}

TEST(AAXCString, LengthsAndAccess)
{
  AAX_CString s("hello");
  EXPECT_EQ(s.Length(), 5u);
  EXPECT_EQ(s.MaxLength(), 4294967294u);
  EXPECT_STREQ(s.Get(), "hello");
  EXPECT_STREQ(s.CString(), "hello");
  EXPECT_EQ(s[1], 'e');
  s[0] = 'j';
  EXPECT_EQ(s.StdString(), "jello");
  const AAX_CString& cs = s;
  EXPECT_EQ(cs[4], 'o');
  EXPECT_THROW(s[5], std::out_of_range);
  EXPECT_FALSE(s.Empty());
  s.Clear();
  EXPECT_TRUE(s.Empty());
}

TEST(AAXCString, AssignmentFromEveryKindOfText)
{
  AAX_CString s;
  s = "one";
  EXPECT_EQ(s.StdString(), "one");
  s = std::string("two");
  EXPECT_EQ(s.StdString(), "two");
  s = AAX_CString("three");
  EXPECT_EQ(s.StdString(), "three");
  ForeignString foreign;
  foreign.Set("four");
  s = static_cast<const AAX_IString&>(foreign);
  EXPECT_EQ(s.StdString(), "four");
  s.Set(nullptr);
  EXPECT_TRUE(s.Empty());
  s = static_cast<const char*>(nullptr);
  EXPECT_TRUE(s.Empty());
  // Writing into a foreign string through the interface.
  AAX_IString& asInterface = foreign;
  asInterface = AAX_CString("five");
  EXPECT_STREQ(foreign.Get(), "five");
}

TEST(AAXCString, MoveAssignmentSwapsTheTexts)
{
  AAX_CString a("left");
  AAX_CString b("right");
  a = std::move(b);
  EXPECT_EQ(a.StdString(), "right");
  EXPECT_EQ(b.StdString(), "left");
}

TEST(AAXCString, AppendInsertReplace)
{
  AAX_CString s("ab");
  s.Append(AAX_CString("cd")).Append("ef");
  EXPECT_EQ(s.StdString(), "abcdef");
  s += AAX_CString("1");
  s += std::string("2");
  s += "3";
  EXPECT_EQ(s.StdString(), "abcdef123");
  s.Insert(0, "<").Insert(s.Length(), AAX_CString(">"));
  EXPECT_EQ(s.StdString(), "<abcdef123>");
  s.Replace(1, 6, "X");
  EXPECT_EQ(s.StdString(), "<X123>");
  s.Replace(2, 3, AAX_CString("yz"));
  EXPECT_EQ(s.StdString(), "<Xyz>");
}

TEST(AAXCString, EraseStopsAtTheEnd)
{
  AAX_CString a("abcde");
  a.Erase(3, 100);
  EXPECT_EQ(a.StdString(), "abc");
  AAX_CString b("abcde");
  b.Erase(1, 5);
  EXPECT_EQ(b.StdString(), "a");
  AAX_CString c("abcde");
  c.Erase(1, 2);
  EXPECT_EQ(c.StdString(), "ade");
}

TEST(AAXCString, FixedPointNumbersHaveExactlyThePrecisionDigits)
{
  EXPECT_EQ(Appended(2.5, 2), "2.50");
  EXPECT_EQ(Appended(-0.004, 2), "-0.00");
  EXPECT_EQ(Appended(7, 0), "7");
  EXPECT_EQ(Appended(0.125, 1), "0.1"); // round half to even, as printf
  EXPECT_EQ(Appended(1234.5678, 3), "1234.568");
  EXPECT_EQ(Appended(-3, 1), "-3.0");
  AAX_CString s("v=");
  s.AppendNumber(int32_t(-42));
  EXPECT_EQ(s.StdString(), "v=-42");
  s.AppendNumber(int32_t(7));
  EXPECT_EQ(s.StdString(), "v=-427");
}

namespace
{
// A decimal comma, as a host's global C++ locale might have.
struct CommaDecimal : std::numpunct<char>
{
  char do_decimal_point() const override { return ','; }
};

struct GlobalLocale
{
  explicit GlobalLocale(const std::locale& l) : saved(std::locale::global(l)) {}
  ~GlobalLocale() { std::locale::global(saved); }
  std::locale saved;
};
} // namespace

TEST(AAXCString, NumbersUseAPointWhateverTheGlobalLocale)
{
  GlobalLocale comma(std::locale(std::locale::classic(), new CommaDecimal));
  EXPECT_EQ(Appended(2.5, 2), "2.50");
  double v = 0;
  EXPECT_TRUE(AAX_CString("1.5").ToDouble(&v));
  EXPECT_EQ(v, 1.5);
}

TEST(AAXCString, HexIsLowercasePaddedAndUnsigned)
{
  AAX_CString a;
  a.AppendHex(255, 4);
  EXPECT_EQ(a.StdString(), "0x00ff");
  AAX_CString b;
  b.AppendHex(-1, 2);
  EXPECT_EQ(b.StdString(), "0xffffffff");
  AAX_CString c;
  c.AppendHex(0xABC, 0);
  EXPECT_EQ(c.StdString(), "0xabc");
  AAX_CString d;
  d.AppendHex(0, 1);
  EXPECT_EQ(d.StdString(), "0x0");
}

TEST(AAXCString, InsertNumberAndHexAtAPosition)
{
  AAX_CString s("[]");
  s.InsertNumber(1, 1.5, 1);
  EXPECT_EQ(s.StdString(), "[1.5]");
  s.InsertNumber(0, int32_t(-9));
  EXPECT_EQ(s.StdString(), "-9[1.5]");
  s.InsertHex(2, 16, 3);
  EXPECT_EQ(s.StdString(), "-90x010[1.5]");
}

TEST(AAXCString, ParsingReadsTheLeadingNumber)
{
  double d = -1;
  EXPECT_TRUE(AAX_CString("12abc").ToDouble(&d));
  EXPECT_EQ(d, 12.0);
  EXPECT_FALSE(AAX_CString("abc").ToDouble(&d));
  EXPECT_EQ(d, 0.0);
  EXPECT_TRUE(AAX_CString("  -2.25 dB").ToDouble(&d));
  EXPECT_EQ(d, -2.25);
  int32_t i = -1;
  EXPECT_TRUE(AAX_CString("3.9").ToInteger(&i));
  EXPECT_EQ(i, 3);
  EXPECT_TRUE(AAX_CString(" -17x").ToInteger(&i));
  EXPECT_EQ(i, -17);
  i = 5;
  EXPECT_FALSE(AAX_CString("").ToInteger(&i));
  EXPECT_EQ(i, 0);
  i = 5;
  EXPECT_FALSE(AAX_CString("x1").ToInteger(&i));
  EXPECT_EQ(i, 0);
}

TEST(AAXCString, SubStringTakesAtMostCountCharacters)
{
  const AAX_CString s("abcdef");
  AAX_CString out("old");
  s.SubString(2, 3, &out);
  EXPECT_EQ(out.StdString(), "cde");
  s.SubString(4, 10, &out);
  EXPECT_EQ(out.StdString(), "ef");
  s.SubString(6, 1, &out);
  EXPECT_EQ(out.StdString(), "");
  ForeignString foreign;
  s.SubString(0, 2, &foreign);
  EXPECT_STREQ(foreign.Get(), "ab");
}

TEST(AAXCString, ComparisonRules)
{
  const AAX_CString a("abc");
  EXPECT_TRUE(a == AAX_CString("abc"));
  EXPECT_TRUE(a == std::string("abc"));
  EXPECT_TRUE(a == "abc");
  EXPECT_TRUE(a != "abd");
  EXPECT_TRUE(a != std::string("ab"));
  EXPECT_TRUE(a != AAX_CString("abcd"));
  EXPECT_TRUE(AAX_CString("abc") < AAX_CString("abd"));
  EXPECT_TRUE(AAX_CString("b") > AAX_CString("abc"));
  EXPECT_FALSE(AAX_CString("abc") < AAX_CString("abc"));
  // Between AAX_CStrings the NUL-terminated texts are compared; with a
  // std::string the whole strings.
  AAX_CString withNul(std::string("ab\0x", 4));
  EXPECT_TRUE(withNul == AAX_CString("ab"));
  EXPECT_FALSE(withNul == std::string("ab"));
  EXPECT_TRUE(withNul == std::string("ab\0x", 4));
}

TEST(AAXCString, SearchNeverFindsAnything)
{
  const AAX_CString s("abcabc");
  EXPECT_EQ(s.FindFirst("a"), 0xFFFFFFFFu);
  EXPECT_EQ(s.FindFirst('b'), 0xFFFFFFFFu);
  EXPECT_EQ(s.FindFirst(AAX_CString("c")), 0xFFFFFFFFu);
  EXPECT_EQ(s.FindLast("a"), 0xFFFFFFFFu);
  EXPECT_EQ(s.FindLast('b'), 0xFFFFFFFFu);
  EXPECT_EQ(s.FindLast(AAX_CString("c")), 0xFFFFFFFFu);
}

TEST(AAXCString, StreamsWriteAndReadTheText)
{
  std::ostringstream os;
  os << AAX_CString("word");
  EXPECT_EQ(os.str(), "word");
  std::istringstream is("first second");
  AAX_CString s;
  is >> s;
  EXPECT_EQ(s.StdString(), "first");
}
