// The effect-parameters base's state chunk 'elck' on the stand-in host:
// exact bytes, restore through the host's echo, comparison, bad records.
#include "EffectParametersFixture.h"

#include "AAX_CChunkDataParser.h"
#include "AAX_Errors.h"

namespace
{
constexpr AAX_CTypeID kElck = 0x656C636B;

// A record holding what the parser was given, as a saved session would.
ChunkRecord RecordOf(const AAX_CChunkDataParser& parser)
{
  ChunkRecord r(static_cast<size_t>(parser.GetChunkDataSize()));
  EXPECT_EQ(parser.GetChunkData(r.get()), 0);
  return r;
}

ChunkRecord Save(TestEffectParameters* ep)
{
  uint32_t size = 0;
  EXPECT_EQ(ep->GetChunkSize(kElck, &size), 0);
  ChunkRecord r(size);
  EXPECT_EQ(ep->GetChunk(kElck, r.get()), 0);
  return r;
}

AAX_CBoolean Compare(TestEffectParameters* ep, ChunkRecord& r)
{
  AAX_CBoolean equal = 7;
  EXPECT_EQ(ep->CompareActiveChunk(r.get(), &equal), 0);
  return equal;
}
} // namespace

TEST_F(EffectParametersTest, GetChunkNeedsGetChunkSizeFirst)
{
  ChunkRecord r(64);
  EXPECT_EQ(ep->GetChunk(kElck, r.get()), AAX_ERROR_INCORRECT_CHUNK_SIZE);
  uint32_t size = 0;
  ASSERT_EQ(ep->GetChunkSize(kElck, &size), 0);
  EXPECT_EQ(ep->GetChunk(kElck, r.get()), 0);
}

TEST_F(EffectParametersTest, TheChunkHoldsEveryValueButTheBypass)
{
  uint32_t size = 0;
  ASSERT_EQ(ep->GetChunkSize(kElck, &size), 0);
  // Mark, then "l_1" bool on as int32 1, "l_2" int32 7, "d_3" double 0.5;
  // every name field is 4 bytes, values big-endian.
  const std::vector<uint8_t> expected = {
      0x01, 0x01, 0x01, 0x01,                         //
      'l',  '_',  '1',  0,    0, 0, 0, 1,             //
      'l',  '_',  '2',  0,    0, 0, 0, 7,             //
      'd',  '_',  '3',  0,    0x3F, 0xE0, 0, 0, 0, 0, 0, 0};
  ASSERT_EQ(size, expected.size());
  ChunkRecord r(size);
  r->fVersion = 12;
  std::memset(r->fName, 'x', sizeof(r->fName));
  ASSERT_EQ(ep->GetChunk(kElck, r.get()), 0);
  EXPECT_EQ(r->fSize, 32);
  EXPECT_EQ(r->fVersion, -1);
  EXPECT_STREQ(r->fName, "Complete Controls State");
  EXPECT_EQ(r->fName[31], 0);
  EXPECT_EQ(r.Data(), expected);
}

TEST_F(EffectParametersTest, SetChunkRestoresTheValuesAndCompareSeesIt)
{
  ChunkRecord saved = Save(ep);
  EXPECT_EQ(Compare(ep, saved), 1);
  ep->SetParameterNormalizedValue("1", 0.0);
  ep->SetParameterNormalizedValue("2", 0.3);
  ep->SetParameterNormalizedValue("3", 0.25);
  ep->SetParameterNormalizedValue("MasterBypassID", 1.0); // not part of the state
  EXPECT_EQ(Compare(ep, saved), 0);

  EXPECT_EQ(ep->SetChunk(kElck, saved.get()), 0);
  EXPECT_EQ(Normalized("1"), 1.0);
  EXPECT_DOUBLE_EQ(Normalized("2"), 0.7);
  EXPECT_EQ(Normalized("3"), 0.5);
  EXPECT_EQ(Normalized("MasterBypassID"), 1.0);
  EXPECT_EQ(Compare(ep, saved), 1);
}

TEST_F(EffectParametersTest, OtherChunkIdentifiersAreRefusedOrCountAsEqual)
{
  int32_t n = 0;
  EXPECT_EQ(ep->GetNumberOfChunks(&n), 0);
  EXPECT_EQ(n, 1);
  AAX_CTypeID id = 1;
  EXPECT_EQ(ep->GetChunkIDFromIndex(0, &id), 0);
  EXPECT_EQ(id, kElck);
  EXPECT_EQ(ep->GetChunkIDFromIndex(1, &id), AAX_ERROR_INVALID_CHUNK_INDEX);
  EXPECT_EQ(id, 0u);

  uint32_t size = 9;
  EXPECT_EQ(ep->GetChunkSize(0x6C6E3070, &size), AAX_ERROR_INVALID_CHUNK_ID);
  EXPECT_EQ(size, 0u);
  ChunkRecord other(64, 0x6C6E3070);
  EXPECT_EQ(ep->GetChunk(0x6C6E3070, other.get()), AAX_ERROR_INVALID_CHUNK_ID);
  EXPECT_EQ(ep->SetChunk(0x6C6E3070, other.get()), AAX_ERROR_INVALID_CHUNK_ID);
  EXPECT_EQ(Compare(ep, other), 1);
}

TEST_F(EffectParametersTest, EntriesMissingOrOfAnotherKindLeaveValuesAndDiffer)
{
  AAX_CChunkDataParser parser;
  parser.AddDouble("1", 0.0); // Swap is a bool: only an int32 entry applies
  parser.AddInt32("2", 3);
  ChunkRecord r = RecordOf(parser);
  EXPECT_EQ(ep->SetChunk(kElck, r.get()), 0);
  EXPECT_EQ(Normalized("1"), 1.0);
  EXPECT_DOUBLE_EQ(Normalized("2"), 0.3);
  EXPECT_EQ(Normalized("3"), 0.5);
  EXPECT_EQ(Compare(ep, r), 0);
}

TEST_F(EffectParametersTest, DoublesCompareInSinglePrecision)
{
  AAX_CChunkDataParser parser;
  parser.AddInt32("1", 5); // any non-zero int32 is on
  parser.AddInt32("2", 7);
  parser.AddDouble("3", 0.5 + 1e-12);
  ChunkRecord r = RecordOf(parser);
  EXPECT_EQ(Compare(ep, r), 1);
  parser.ReplaceDouble("3", 0.5001);
  ChunkRecord far = RecordOf(parser);
  EXPECT_EQ(Compare(ep, far), 0);
}

TEST_F(EffectParametersTest, RecordsThatAreNotChunkDataChangeNothing)
{
  for (int32_t size : {-5, 0, 2, 12})
  {
    ChunkRecord r(16);
    std::memset(r->fData, 0xA5, 16);
    r->fSize = size;
    EXPECT_EQ(ep->SetChunk(kElck, r.get()), 0) << size;
    EXPECT_EQ(Compare(ep, r), 0) << size;
  }
  EXPECT_EQ(Normalized("1"), 1.0);
  EXPECT_DOUBLE_EQ(Normalized("2"), 0.7);
  EXPECT_EQ(Normalized("3"), 0.5);
  EXPECT_EQ(ep->SetChunk(kElck, nullptr), AAX_ERROR_NULL_ARGUMENT);
}

TEST_F(EffectParametersTest, AParameterKnownOnlyByItsTextIsSavedAsText)
{
  Options o;
  o.text = true;
  Start(o);
  ChunkRecord saved = Save(ep);
  // "r_4" then the display text "4.00", NUL, padded to 8.
  const std::vector<uint8_t> tail = {'r', '_', '4', 0, '4', '.', '0', '0', 0, 0, 0, 0};
  const std::vector<uint8_t> data = saved.Data();
  ASSERT_GE(data.size(), tail.size());
  EXPECT_EQ(std::vector<uint8_t>(data.end() - tail.size(), data.end()), tail);

  ep->SetParameterNormalizedValue("4", 0.9);
  EXPECT_EQ(Compare(ep, saved), 0);
  EXPECT_EQ(ep->SetChunk(kElck, saved.get()), 0);
  EXPECT_DOUBLE_EQ(Normalized("4"), 0.4);
  EXPECT_EQ(Compare(ep, saved), 1);
}
