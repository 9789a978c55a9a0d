// Chunk data: exact bytes for each value kind, sizes, lookups, and reading
// untrusted data areas without leaving them.
#include "AAX_CChunkDataParser.h"
#include "AAX_CHostServices.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace
{
// A heap record holding exactly `dataBytes` bytes of data area, so ASan sees
// any access past it.
struct Record
{
  explicit Record(size_t dataBytes) : bytes(kAAX_SPlugInChunkHeaderSize + dataBytes, 0xEE)
  {
    std::memset(bytes.data(), 0, kAAX_SPlugInChunkHeaderSize);
  }
  AAX_SPlugInChunk* chunk() { return reinterpret_cast<AAX_SPlugInChunk*>(bytes.data()); }
  std::vector<uint8_t> data() const
  {
    return std::vector<uint8_t>(bytes.begin() + kAAX_SPlugInChunkHeaderSize, bytes.end());
  }
  std::vector<uint8_t> bytes;
};

std::vector<uint8_t> Written(const AAX_CChunkDataParser& p)
{
  Record r(static_cast<size_t>(p.GetChunkDataSize()));
  EXPECT_EQ(p.GetChunkData(r.chunk()), 0);
  EXPECT_EQ(r.chunk()->fSize, p.GetChunkDataSize());
  return r.data();
}

// A record whose data area holds exactly `data`, with the size field set to it.
Record Holding(const std::vector<uint8_t>& data, int32_t version = 7)
{
  Record r(data.size());
  std::memcpy(r.bytes.data() + kAAX_SPlugInChunkHeaderSize, data.data(), data.size());
  r.chunk()->fSize = static_cast<int32_t>(data.size());
  r.chunk()->fVersion = version;
  return r;
}

const std::vector<uint8_t> kMark = {1, 1, 1, 1};

std::vector<uint8_t> Join(std::vector<uint8_t> a, const std::vector<uint8_t>& b)
{
  a.insert(a.end(), b.begin(), b.end());
  return a;
}
} // namespace

TEST(ChunkData, AnEmptyListWritesOnlyTheFormatMark)
{
  AAX_CChunkDataParser p;
  EXPECT_EQ(p.GetChunkDataSize(), 4);
  EXPECT_EQ(Written(p), kMark);
}

TEST(ChunkData, EachValueKindIsWrittenBigEndianAfterAnAlignedNameField)
{
  AAX_CChunkDataParser p;
  p.AddInt32("Gain1", 1); // name field 2 + 5 + 1 = 8, no padding
  EXPECT_EQ(p.GetChunkDataSize(), 16);
  EXPECT_EQ(Written(p), Join(kMark, {'l', '_', 'G', 'a', 'i', 'n', '1', 0, 0, 0, 0, 1}));

  p.Clear();
  p.AddDouble("ab", 1.0); // 5 bytes padded to 8
  p.AddFloat("f", 1.5f);  // 4 bytes
  EXPECT_EQ(p.GetChunkDataSize(), 4 + 8 + 8 + 4 + 4);
  EXPECT_EQ(Written(p), Join(kMark, {'d', '_', 'a', 'b', 0, 0, 0, 0, 0x3F, 0xF0, 0, 0, 0, 0, 0, 0,
                                     'f', '_', 'f', 0, 0x3F, 0xC0, 0, 0}));

  p.Clear();
  p.AddInt16("s", -2);                    // two value bytes, two zeros
  p.AddString("ab", AAX_CString("abc")); // name 5 -> 8, text 4
  p.AddString("t", AAX_CString("a"));    // text 2 -> 4
  EXPECT_EQ(p.GetChunkDataSize(), 4 + 8 + 12 + 8);
  EXPECT_EQ(Written(p), Join(kMark, {'s', '_', 's', 0, 0xFF, 0xFE, 0, 0,                    //
                                     'r', '_', 'a', 'b', 0, 0, 0, 0, 'a', 'b', 'c', 0,     //
                                     'r', '_', 't', 0, 'a', 0, 0, 0}));
}

TEST(ChunkData, EveryKindReadsBackAndOnlyAsItsOwnType)
{
  AAX_CChunkDataParser w;
  w.AddDouble("d", -0.125);
  w.AddFloat("f", 3.25f);
  w.AddInt32("l", -70000);
  w.AddInt16("s", -2);
  w.AddString("r", AAX_CString("text"));
  w.AddString("e", AAX_CString(""));
  Record r(static_cast<size_t>(w.GetChunkDataSize()));
  ASSERT_EQ(w.GetChunkData(r.chunk()), 0);
  r.chunk()->fVersion = 9;

  AAX_CChunkDataParser p;
  p.LoadChunk(r.chunk());
  EXPECT_EQ(p.GetChunkVersion(), 9);
  ASSERT_EQ(p.Entries().size(), 6u); // no empty entries for the text padding
  double d = 0;
  float f = 0;
  int32_t l = 0;
  int16_t s = 0;
  AAX_CString text;
  EXPECT_TRUE(p.FindDouble("d", &d));
  EXPECT_EQ(d, -0.125);
  EXPECT_TRUE(p.FindFloat("f", &f));
  EXPECT_EQ(f, 3.25f);
  EXPECT_TRUE(p.FindInt32("l", &l));
  EXPECT_EQ(l, -70000);
  EXPECT_TRUE(p.FindInt16("s", &s));
  EXPECT_EQ(s, -2);
  EXPECT_TRUE(p.FindString("r", &text));
  EXPECT_EQ(text, "text");
  EXPECT_TRUE(p.FindString("e", &text));
  EXPECT_EQ(text, "");

  d = 5;
  EXPECT_FALSE(p.FindDouble("f", &d)); // a float entry is not a double
  EXPECT_EQ(d, 5);
  EXPECT_FALSE(p.FindDouble("missing", &d));
  EXPECT_FALSE(p.ReplaceDouble("f", 1.0));
  EXPECT_TRUE(p.ReplaceDouble("d", 2.0));
  EXPECT_TRUE(p.FindDouble("d", &d));
  EXPECT_EQ(d, 2.0);

  p.Clear();
  EXPECT_TRUE(p.IsEmpty());
  EXPECT_EQ(p.GetChunkVersion(), -1);
}

TEST(ChunkData, FindNameSearchesOnFromTheLastHitAndWrapsAround)
{
  AAX_CChunkDataParser p;
  p.AddInt32("x", 1);
  p.AddInt32("y", 2);
  p.AddInt32("x", 3);
  EXPECT_EQ(p.FindName(AAX_CString("x")), 0);
  EXPECT_EQ(p.FindName(AAX_CString("x")), 2); // the search resumes after index 0
  EXPECT_EQ(p.FindName(AAX_CString("x")), 0); // after the last entry it starts again
  EXPECT_EQ(p.FindName(AAX_CString("y")), 1);
  EXPECT_EQ(p.FindName(AAX_CString("z")), -1);
  EXPECT_EQ(p.FindName(AAX_CString("x")), 2); // a miss left the last hit at 1
  EXPECT_EQ(p.FindName(AAX_CString("y")), 1); // wraps from the end
}

TEST(ChunkData, WritingNeverLeavesTheComputedSize)
{
  for (size_t nameLength : {0u, 1u, 2u, 3u, 4u, 5u, 251u, 252u, 253u, 260u})
  {
    for (size_t textLength : {0u, 1u, 2u, 3u, 4u, 5u, 299u, 300u})
    {
      AAX_CChunkDataParser p;
      const std::string name(nameLength, 'n');
      p.AddString(name.c_str(), AAX_CString(std::string(textLength, 't')));
      p.AddInt16(name.c_str(), 1);
      p.AddDouble(name.c_str(), 1);
      const int32_t size = p.GetChunkDataSize();
      EXPECT_EQ(size % 4, 0);
      Record r(static_cast<size_t>(size) + 8);
      ASSERT_EQ(p.GetChunkData(r.chunk()), 0);
      EXPECT_EQ(r.chunk()->fSize, size);
      const std::vector<uint8_t> data = r.data();
      EXPECT_EQ(std::vector<uint8_t>(data.end() - 8, data.end()), std::vector<uint8_t>(8, 0xEE))
          << nameLength << " " << textLength;
    }
  }
}

TEST(ChunkData, AWrongMarkOrATinySizeLoadsNothing)
{
  AAX_CChunkDataParser p;
  const std::vector<uint8_t> entry = {'l', '_', 'a', 0, 0, 0, 0, 1};
  Record wrongMark = Holding(Join({1, 1, 1, 2}, entry));
  p.LoadChunk(wrongMark.chunk());
  EXPECT_TRUE(p.IsEmpty());
  EXPECT_EQ(p.GetChunkVersion(), 7);
  for (int32_t size : {-1, -100000, 0, 3, 4})
  {
    Record r = Holding(Join(kMark, entry));
    r.chunk()->fSize = size;
    p.LoadChunk(r.chunk());
    EXPECT_TRUE(p.IsEmpty()) << size;
  }
  p.LoadChunk(nullptr);
  EXPECT_TRUE(p.IsEmpty());
}

TEST(ChunkData, AnEntryCutShortIsDroppedAndTheOnesBeforeItStay)
{
  const std::vector<uint8_t> first = {'l', '_', 'a', 0, 0, 0, 0, 1};
  const std::vector<std::vector<uint8_t>> cutEntries = {
      {'d', '_', 'b', 0, 0x3F, 0xF0, 0, 0},    // double cut after 4 bytes
      {'l', '_', 'b', 0, 0, 0},                // int32 cut after 2
      {'s', '_', 'b', 0, 0},                   // int16 cut after 1
      {'r', '_', 'b', 0, 'x', 'y'},            // text without its NUL
      {'l', '_', 'l', 'o', 'n', 'g'},          // name without its NUL
      {'l', '_', 'b', 0},                      // name with no value at all
  };
  for (const std::vector<uint8_t>& cut : cutEntries)
  {
    Record r = Holding(Join(Join(kMark, first), cut));
    AAX_CChunkDataParser p;
    p.LoadChunk(r.chunk());
    ASSERT_EQ(p.Entries().size(), 1u);
    int32_t a = 0;
    EXPECT_TRUE(p.FindInt32("a", &a));
    EXPECT_EQ(a, 1);
  }
}

TEST(ChunkData, ANameFieldLongerThanTheLimitEndsTheLoad)
{
  std::vector<uint8_t> data = Join(kMark, {'l', '_', 'a', 0, 0, 0, 0, 1});
  std::vector<uint8_t> longName(300, 'n');
  longName[0] = 'l';
  longName[299] = 0;
  data = Join(Join(data, longName), {0, 0, 0, 0, 0, 0, 0, 2});
  Record r = Holding(data);
  AAX_CChunkDataParser p;
  p.LoadChunk(r.chunk());
  EXPECT_EQ(p.Entries().size(), 1u);
}

TEST(ChunkData, ASizeFieldBeyondTheRecordIsCutToWhatTheRecordHolds)
{
  Record r = Holding(Join(kMark, {'l', '_', 'a', 0, 0, 0, 0, 1, 'l', '_', 'b', 0, 0, 0, 0, 2}));
  r.chunk()->fSize = 1 << 30;
  AAX_CChunkDataParser p;
  p.LoadChunk(r.chunk(), r.bytes.size() - 4); // the second value lies outside
  EXPECT_EQ(p.Entries().size(), 1u);
  p.LoadChunk(r.chunk(), r.bytes.size());
  EXPECT_EQ(p.Entries().size(), 2u);
  p.LoadChunk(r.chunk(), 20); // not even a whole header
  EXPECT_TRUE(p.IsEmpty());
}

TEST(ChunkData, UnknownTagsLoadAsEntriesOfNoTypeAndAreNotWrittenBack)
{
  Record r = Holding(Join(kMark, {'x', '_', 'q', 0, 'l', '_', 'a', 0, 0, 0, 0, 1}));
  AAX_CChunkDataParser p;
  p.LoadChunk(r.chunk());
  ASSERT_EQ(p.Entries().size(), 2u);
  EXPECT_EQ(p.Entries()[0].mDataType, AAX_ChunkDataParserDefs::NO_TYPE);
  EXPECT_EQ(p.Entries()[0].mDataName, "q");
  EXPECT_EQ(p.GetChunkDataSize(), 12);
  EXPECT_EQ(Written(p), Join(kMark, {'l', '_', 'a', 0, 0, 0, 0, 1}));
}

TEST(ChunkData, WordAlignRoundsUpToMultiplesOfFour)
{
  AAX_CChunkDataParser p;
  int32_t i = 5;
  uint32_t u = 8;
  p.WordAlign(i);
  p.WordAlign(u);
  EXPECT_EQ(i, 8);
  EXPECT_EQ(u, 8u);
}
