#include "hosted_quorvane.h"
#include "test_plugs.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace
{
using Bytes = std::vector<unsigned char>;

Bytes ToBytes(const ByteChunk& c) { return Bytes(c.GetBytes(), c.GetBytes() + c.Size()); }

ByteChunk ToChunk(const Bytes& b)
{
  ByteChunk c;
  c.PutBytes(b.data(), static_cast<int>(b.size()));
  return c;
}

void Append(Bytes& b, std::initializer_list<int> v)
{
  for (int x : v) b.push_back(static_cast<unsigned char>(x));
}
void AppendText(Bytes& b, const char* s)
{
  while (*s) b.push_back(static_cast<unsigned char>(*s++));
}
void AppendZeros(Bytes& b, size_t n) { b.insert(b.end(), n, 0); }

// A temporary file path removed at the end of the test.
struct TempFile
{
  TempFile()
  {
    char tmpl[] = "/tmp/qv_presetXXXXXX";
    const int fd = mkstemp(tmpl);
    close(fd);
    path = tmpl;
  }
  ~TempFile() { std::remove(path.c_str()); }
  Bytes Read() const
  {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
  }
  void Write(const Bytes& b) const
  {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
  }
  std::string Text() const
  {
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  std::string path;
};

std::unique_ptr<Quorvane> Make() { return MakeInitializedQuorvane(); }

// Two bool parameters and state chunks on: the chunk forms of the files.
class ChunkPlug : public TestPlug
{
public:
  explicit ChunkPlug(int nPresets = 1) : TestPlug(2, "2-2", 0, "Chunky", nPresets, true)
  {
    GetParam(0)->InitBool("a", false);
    GetParam(1)->InitBool("b", false);
    MakeDefaultPreset("Chunky", 1);
  }
};

// Quorvane's program file with Swap on, worked out field by field.
Bytes QuorvaneProgram()
{
  Bytes b;
  AppendText(b, "CcnK");
  Append(b, {0, 0, 0, 0});
  AppendText(b, "FxCk");
  Append(b, {0, 0, 0, 1});
  Append(b, {0x6C, 0x6E, 0x30, 0x70}); // 'ln0p'
  Append(b, {0, 0, 0x27, 0x10});       // 10000
  Append(b, {0, 0, 0, 2});
  AppendText(b, "Quorvane");
  AppendZeros(b, 20);
  Append(b, {0x3F, 0x80, 0, 0}); // 1.0f
  Append(b, {0, 0, 0, 0});       // 0.0f
  return b;
}
} // namespace

TEST(PresetFiles, VersionHeaderIsTffpThenVersion)
{
  ByteChunk c;
  c.PutBool(true); // cleared first
  IPlugBase::InitChunkWithIPlugVer(&c);
  EXPECT_EQ(ToBytes(c), (Bytes{0x74, 0x66, 0x66, 0x70, 0, 0, 1, 0}));
  int pos = 0;
  EXPECT_EQ(IPlugBase::GetIPlugVerFromChunk(&c, &pos), 0x10000);
  EXPECT_EQ(pos, 8);
  ByteChunk other = ToChunk({1, 2, 3, 4, 5, 6, 7, 8});
  pos = 0;
  EXPECT_EQ(IPlugBase::GetIPlugVerFromChunk(&other, &pos), 0);
  EXPECT_EQ(pos, 0);
  ByteChunk cut = ToChunk({0x74, 0x66, 0x66, 0x70, 0});
  EXPECT_EQ(IPlugBase::GetIPlugVerFromChunk(&cut, &pos), 0);
  EXPECT_EQ(pos, 0);
}

TEST(PresetFiles, ProgramFileParameterFormIsByteExact)
{
  auto plug = Make();
  HostSet(*plug, Quorvane::kSwap, 1.0);
  TempFile f;
  ASSERT_TRUE(plug->SaveProgramAsFXP(f.path.c_str()));
  EXPECT_EQ(f.Read(), QuorvaneProgram());
  EXPECT_FALSE(plug->SaveProgramAsFXP(""));
  EXPECT_FALSE(plug->SaveProgramAsFXP("/nonexistent-dir/x.fxp"));
}

TEST(PresetFiles, ProgramFileChunkFormIsByteExact)
{
  ChunkPlug plug;
  plug.GetParam(1)->Set(1.0);
  ByteChunk data;
  ASSERT_TRUE(plug.MakeProgramFXPData(&data));
  Bytes want;
  AppendText(want, "CcnK");
  Append(want, {0, 0, 0, 84}); // 24 bytes of state + 60
  AppendText(want, "FPCh");
  Append(want, {0, 0, 0, 1});
  Append(want, {0, 0, 0, 1});       // unique id 1
  Append(want, {0, 0, 0x27, 0xDB}); // 10203
  Append(want, {0, 0, 0, 2});
  AppendText(want, "Chunky");
  AppendZeros(want, 22);
  Append(want, {0, 0, 0, 24});
  Append(want, {0x74, 0x66, 0x66, 0x70, 0, 0, 1, 0});
  AppendZeros(want, 8);                      // 0.0
  Append(want, {0, 0, 0, 0, 0, 0, 0xF0, 0x3F}); // 1.0
  EXPECT_EQ(ToBytes(data), want);
}

TEST(PresetFiles, BankFileParameterFormIsByteExact)
{
  auto plug = Make();
  HostSet(*plug, Quorvane::kSwap, 1.0);
  plug->ModifyCurrentPreset();
  ByteChunk data;
  ASSERT_TRUE(plug->MakeBankFXBData(&data));
  Bytes want;
  AppendText(want, "CcnK");
  Append(want, {0, 0, 0, 0});
  AppendText(want, "FxBk");
  Append(want, {0, 0, 0, 2});
  Append(want, {0x6C, 0x6E, 0x30, 0x70});
  Append(want, {0, 0, 0x27, 0x10});
  Append(want, {0, 0, 0, 1}); // presets
  Append(want, {0, 0, 0, 0}); // current
  AppendZeros(want, 124);
  const Bytes program = QuorvaneProgram();
  want.insert(want.end(), program.begin(), program.end());
  EXPECT_EQ(ToBytes(data), want);
}

TEST(PresetFiles, BankFileChunkFormIsByteExact)
{
  ChunkPlug plug;
  ByteChunk data;
  ASSERT_TRUE(plug.MakeBankFXBData(&data));
  Bytes want;
  AppendText(want, "CcnK");
  Append(want, {0, 0, 0, 195}); // 35 + 160
  AppendText(want, "FBCh");
  Append(want, {0, 0, 0, 2});
  Append(want, {0, 0, 0, 1});
  Append(want, {0, 0, 0x27, 0xDB});
  Append(want, {0, 0, 0, 1});
  Append(want, {0, 0, 0, 0});
  AppendZeros(want, 124);
  Append(want, {0, 0, 0, 35}); // 8 header + 4 length + 6 name + 1 flag + 16 state
  Append(want, {0x74, 0x66, 0x66, 0x70, 0, 0, 1, 0});
  Append(want, {6, 0, 0, 0});
  AppendText(want, "Chunky");
  Append(want, {1});
  AppendZeros(want, 16);
  EXPECT_EQ(ToBytes(data), want);
}

TEST(PresetFiles, LongPresetNamesAreCutTo27CharactersInTheNameField)
{
  auto plug = Make();
  plug->ModifyCurrentPreset("An unusually long preset name for the field");
  ByteChunk data;
  plug->MakeProgramFXPData(&data);
  const Bytes b = ToBytes(data);
  EXPECT_EQ(std::string(b.begin() + 28, b.begin() + 55), "An unusually long preset na");
  EXPECT_EQ(b[55], 0);
}

TEST(PresetFiles, ProgramFilesRoundTripInBothForms)
{
  auto a = Make();
  HostSet(*a, Quorvane::kMono, 1.0);
  a->ModifyCurrentPreset("Mono only");
  TempFile f;
  ASSERT_TRUE(a->SaveProgramAsFXP(f.path.c_str()));
  auto b = Make();
  ASSERT_TRUE(b->LoadProgramFromFXP(f.path.c_str()));
  EXPECT_TRUE(b->IsMonoOn());
  EXPECT_FALSE(b->IsSwapOn());
  EXPECT_STREQ(b->GetPresetName(0), "Mono only");

  ChunkPlug c;
  c.GetParam(0)->Set(1.0);
  c.ModifyCurrentPreset("Stored");
  ASSERT_TRUE(c.SaveProgramAsFXP(f.path.c_str()));
  ChunkPlug d;
  ASSERT_TRUE(d.LoadProgramFromFXP(f.path.c_str()));
  EXPECT_EQ(d.GetParam(0)->Value(), 1.0);
  EXPECT_STREQ(d.GetPresetName(0), "Stored");
  EXPECT_EQ(d.programChanges, 1);
}

TEST(PresetFiles, BankFilesRoundTripInBothForms)
{
  TempFile f;
  {
    auto a = Make();
    HostSet(*a, Quorvane::kSwap, 1.0);
    a->ModifyCurrentPreset("Swapped");
    ASSERT_TRUE(a->SaveBankAsFXB(f.path.c_str()));
    auto b = Make();
    ASSERT_TRUE(b->LoadBankFromFXB(f.path.c_str()));
    EXPECT_STREQ(b->GetPresetName(0), "Swapped");
    EXPECT_TRUE(b->IsSwapOn());
  }
  {
    ChunkPlug a(3);
    a.MakePreset("second", 1, 1);
    a.RestorePreset(1);
    ASSERT_TRUE(a.SaveBankAsFXB(f.path.c_str()));
    ChunkPlug b(3);
    ASSERT_TRUE(b.LoadBankFromFXB(f.path.c_str()));
    EXPECT_STREQ(b.GetPresetName(1), "second");
    // The bank's current preset is the reader's current index (0): restored.
    EXPECT_EQ(b.GetParam(0)->Value(), 0.0);
    EXPECT_TRUE(b.RestorePreset(1));
    EXPECT_EQ(b.GetParam(1)->Value(), 1.0);
  }
}

TEST(PresetFiles, EveryPrefixOfAProgramFileIsRejectedWithoutChanges)
{
  auto src = Make();
  HostSet(*src, Quorvane::kSwap, 1.0);
  HostSet(*src, Quorvane::kMono, 1.0);
  ByteChunk full;
  src->MakeProgramFXPData(&full);
  for (int n = 0; n < full.Size(); ++n)
  {
    ByteChunk part;
    part.PutBytes(full.GetBytes(), n);
    auto plug = Make();
    EXPECT_FALSE(plug->LoadProgramFromFXPData(&part)) << n;
    EXPECT_EQ(plug->GetParam(0)->Value(), 0.0) << n;
    EXPECT_EQ(plug->GetParam(1)->Value(), 0.0) << n;
  }

  ChunkPlug chunkSrc;
  chunkSrc.GetParam(1)->Set(1.0);
  ByteChunk chunkFull;
  chunkSrc.MakeProgramFXPData(&chunkFull);
  for (int n = 0; n < chunkFull.Size(); ++n)
  {
    ByteChunk part;
    part.PutBytes(chunkFull.GetBytes(), n);
    ChunkPlug plug;
    EXPECT_FALSE(plug.LoadProgramFromFXPData(&part)) << n;
    EXPECT_EQ(plug.GetParam(1)->Value(), 0.0) << n;
  }
}

TEST(PresetFiles, EveryPrefixOfABankFileIsRejectedWithoutChanges)
{
  for (bool chunks : {false, true})
  {
    ChunkPlug src(2);
    src.MakePreset("two", 1, 1);
    ByteChunk full;
    if (chunks)
      src.MakeBankFXBData(&full);
    else
    {
      auto q = Make();
      HostSet(*q, Quorvane::kSwap, 1.0);
      q->ModifyCurrentPreset("q");
      q->MakeBankFXBData(&full);
    }
    for (int n = 0; n < full.Size(); ++n)
    {
      ByteChunk part;
      part.PutBytes(full.GetBytes(), n);
      if (chunks)
      {
        ChunkPlug plug(2);
        EXPECT_FALSE(plug.LoadBankFromFXBData(&part)) << n;
        EXPECT_STREQ(plug.GetPresetName(1), "empty") << n;
        EXPECT_STREQ(plug.GetPresetName(0), "Chunky") << n;
        EXPECT_EQ(plug.GetParam(0)->Value(), 0.0) << n;
      }
      else
      {
        auto plug = Make();
        EXPECT_FALSE(plug->LoadBankFromFXBData(&part)) << n;
        EXPECT_STREQ(plug->GetPresetName(0), "Quorvane") << n;
        EXPECT_FALSE(plug->IsSwapOn()) << n;
      }
    }
  }
}

TEST(PresetFiles, WrongMagicIdOrVersionIsRejected)
{
  const Bytes good = QuorvaneProgram();
  struct Patch
  {
    size_t at;
    unsigned char v;
  } patches[] = {{0, 'X'}, {15, 2}, {19, 0x71}, {8, 'X'}};
  for (const Patch& p : patches)
  {
    Bytes bad = good;
    bad[p.at] = p.v;
    TempFile f;
    f.Write(bad);
    auto plug = Make();
    EXPECT_FALSE(plug->LoadProgramFromFXP(f.path.c_str())) << p.at;
    EXPECT_FALSE(plug->IsSwapOn());
  }
  auto plug = Make();
  EXPECT_FALSE(plug->LoadProgramFromFXP(""));
  EXPECT_FALSE(plug->LoadProgramFromFXP("/nonexistent/file.fxp"));
  EXPECT_FALSE(plug->LoadBankFromFXB("/nonexistent/file.fxb"));

  // A bank whose id is another plug-in's, and one whose program has the
  // wrong parameter count.
  ByteChunk bank;
  Make()->MakeBankFXBData(&bank);
  Bytes b = ToBytes(bank);
  b[19] ^= 1;
  ByteChunk badId = ToChunk(b);
  EXPECT_FALSE(plug->LoadBankFromFXBData(&badId));
  b[19] ^= 1;
  b[156 + 27] = 3; // the first program's parameter count
  ByteChunk badCount = ToChunk(b);
  EXPECT_FALSE(plug->LoadBankFromFXBData(&badCount));
}

TEST(PresetFiles, OutOfRangeValuesInAFileStayInRange)
{
  Bytes b = QuorvaneProgram();
  // Swap = NaN, Mono = -3.0f
  b[56] = 0x7F, b[57] = 0xC0, b[58] = 0, b[59] = 0;
  b[60] = 0xC0, b[61] = 0x40, b[62] = 0, b[63] = 0;
  ByteChunk c = ToChunk(b);
  auto plug = Make();
  ASSERT_TRUE(plug->LoadProgramFromFXPData(&c));
  EXPECT_EQ(plug->GetParam(0)->Value(), 0.0);
  EXPECT_EQ(plug->GetParam(1)->Value(), 0.0);
}

TEST(PresetFiles, DumpsWriteSourceLines)
{
  auto plug = Make();
  HostSet(*plug, Quorvane::kMono, 1.0);
  TempFile f;
  const char* names[] = {"kSwap", "kMono"};
  plug->DumpPresetSrcCode(f.path.c_str(), names);
  EXPECT_EQ(f.Text(), "  MakePresetFromNamedParams(\"name\", 2,\n    kSwap, false,\n    kMono, true);\n");

  plug->DumpPresetBlob(f.path.c_str());
  // The preset still holds two 0.0 doubles: 16 zero bytes.
  EXPECT_EQ(f.Text(), "MakePresetFromBlob(\"name\", \"AAAAAAAAAAAAAAAAAAAAAA==\", 16);\n");
  plug->DumpBankBlob(f.path.c_str());
  EXPECT_EQ(f.Text(), "MakePresetFromBlob(\"Quorvane\", \"AAAAAAAAAAAAAAAAAAAAAA==\", 16);\n");
}

TEST(PresetFiles, BlobDumpsOfLargeChunksAreNotCut)
{
  // 300 parameters: a 2400-byte chunk, beyond what a fixed 2048-byte text
  // buffer could hold.
  TestPlug plug(300, "1-1", 0, "Big", 1);
  for (int i = 0; i < 300; ++i) plug.GetParam(i)->InitDouble("p", 0.5, 0.0, 1.0, 0.01);
  plug.MakeDefaultPreset("big", 1);
  TempFile f;
  plug.DumpPresetBlob(f.path.c_str());
  const std::string text = f.Text();
  const size_t open = text.find("\", \"") + 4;
  const size_t close = text.find('"', open);
  EXPECT_EQ(close - open, 3200u); // 2400 bytes -> 800 groups of 4
  EXPECT_NE(text.find("\", 2400);"), std::string::npos);

  TestPlug other(300, "1-1", 0, "Big", 1);
  const std::string blob = text.substr(open, close - open);
  ASSERT_TRUE(other.MakePresetFromBlob("copy", blob.c_str(), 2400));
  EXPECT_TRUE(other.RestorePreset(0));
  EXPECT_EQ(other.GetParam(299)->Value(), 0.5);
}
