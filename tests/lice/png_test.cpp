// PNG loading from files, memory and the bundle's resources, good and bad.

#include "lice.h"
#include "lice_imageloader.h"
#include "lice_test_util.h"
#include "png_writer.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <cstring>
#include <memory>
#include <string>

namespace
{
int gErrors = 0, gWarnings = 0;
void CountMessages(const char*, bool isError)
{
  ++(isError ? gErrors : gWarnings);
}

std::string TempPath(const std::string& name)
{
  return ::testing::TempDir() + "qv_png_" + std::to_string(getpid()) + "_" + name;
}

std::unique_ptr<LICE_IBitmap> FromMemory(const std::vector<unsigned char>& png)
{
  return std::unique_ptr<LICE_IBitmap>(
      LICE_LoadPNGFromMemory(png.data(), static_cast<int>(png.size()), nullptr));
}

// A 3 x 2 RGB picture (no alpha) and its expected pixels.
PngPicture Rgb3x2()
{
  PngPicture s;
  s.width = 3;
  s.height = 2;
  for (int i = 0; i < 6; ++i)
    s.data.insert(s.data.end(), {static_cast<unsigned char>(10 * i), static_cast<unsigned char>(100 + i),
                                 static_cast<unsigned char>(250 - i)});
  return s;
}
LICE_pixel Rgb3x2At(int x, int y)
{
  const int i = y * 3 + x;
  return LICE_RGBA(10 * i, 100 + i, 250 - i, 255);
}

void ExpectRgb3x2(LICE_IBitmap* bm)
{
  ASSERT_NE(bm, nullptr);
  ASSERT_EQ(bm->getWidth(), 3);
  ASSERT_EQ(bm->getHeight(), 2);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) EXPECT_EQ(LICE_GetPixel(bm, x, y), Rgb3x2At(x, y)) << x << "," << y;
}

// A valid 8-byte signature and IHDR chunk claiming w x h, RGBA, CRC correct.
std::vector<unsigned char> HeaderOnly(png_uint_32 w, png_uint_32 h)
{
  std::vector<unsigned char> v = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 13,
                                  'I',  'H', 'D', 'R'};
  for (png_uint_32 x : {w, h})
    for (int sh = 24; sh >= 0; sh -= 8) v.push_back(static_cast<unsigned char>(x >> sh));
  v.insert(v.end(), {8, 6, 0, 0, 0});
  const png_uint_32 crc = static_cast<png_uint_32>(crc32(0, v.data() + 12, 17));
  for (int sh = 24; sh >= 0; sh -= 8) v.push_back(static_cast<unsigned char>(crc >> sh));
  return v;
}
} // namespace

TEST(Png, RgbWithoutAlphaGetsOpaquePixels)
{
  ExpectRgb3x2(FromMemory(MakePng(Rgb3x2())).get());
}

TEST(Png, PaletteWithTransparencyGivesPerEntryAlpha)
{
  PngPicture s;
  s.width = 3;
  s.colorType = PNG_COLOR_TYPE_PALETTE;
  s.bitDepth = 2;
  s.palette = {{255, 0, 0}, {0, 255, 0}, {1, 2, 3}};
  s.trns = {0, 128}; // the third entry stays opaque
  s.data = {static_cast<unsigned char>((0 << 6) | (1 << 4) | (2 << 2))};
  auto bm = FromMemory(MakePng(s));
  ASSERT_NE(bm, nullptr);
  EXPECT_EQ(LICE_GetPixel(bm.get(), 0, 0), LICE_RGBA(255, 0, 0, 0));
  EXPECT_EQ(LICE_GetPixel(bm.get(), 1, 0), LICE_RGBA(0, 255, 0, 128));
  EXPECT_EQ(LICE_GetPixel(bm.get(), 2, 0), LICE_RGBA(1, 2, 3, 255));
}

TEST(Png, SixteenBitGreyWithAlphaKeepsTheHighBytes)
{
  PngPicture s;
  s.width = 2;
  s.colorType = PNG_COLOR_TYPE_GRAY_ALPHA;
  s.bitDepth = 16;
  s.data = {0x12, 0x34, 0xAB, 0xCD, 0xFF, 0x00, 0x00, 0xFF};
  auto bm = FromMemory(MakePng(s));
  ASSERT_NE(bm, nullptr);
  EXPECT_EQ(LICE_GetPixel(bm.get(), 0, 0), LICE_RGBA(0x12, 0x12, 0x12, 0xAB));
  EXPECT_EQ(LICE_GetPixel(bm.get(), 1, 0), LICE_RGBA(0xFF, 0xFF, 0xFF, 0x00));
}

TEST(Png, OneBitGreyIsBlackAndWhite)
{
  PngPicture s;
  s.width = 10;
  s.colorType = PNG_COLOR_TYPE_GRAY;
  s.bitDepth = 1;
  s.data = {0xA5, 0x80}; // 1010 0101 10
  auto bm = FromMemory(MakePng(s));
  ASSERT_NE(bm, nullptr);
  const int bits[10] = {1, 0, 1, 0, 0, 1, 0, 1, 1, 0};
  for (int x = 0; x < 10; ++x)
    EXPECT_EQ(LICE_GetPixel(bm.get(), x, 0), bits[x] ? 0xFFFFFFFFu : 0xFF000000u) << x;
}

TEST(Png, InterlacedPictureMatchesItsRows)
{
  PngPicture s;
  s.width = 9;
  s.height = 9;
  s.colorType = PNG_COLOR_TYPE_RGB_ALPHA;
  s.interlaced = true;
  for (int y = 0; y < 9; ++y)
    for (int x = 0; x < 9; ++x)
      s.data.insert(s.data.end(), {static_cast<unsigned char>(x * 20), static_cast<unsigned char>(y * 20),
                                   static_cast<unsigned char>(x + y), static_cast<unsigned char>(255 - x * y)});
  auto bm = FromMemory(MakePng(s));
  ASSERT_NE(bm, nullptr);
  for (int y = 0; y < 9; ++y)
    for (int x = 0; x < 9; ++x)
      EXPECT_EQ(LICE_GetPixel(bm.get(), x, y), LICE_RGBA(x * 20, y * 20, x + y, 255 - x * y));
}

TEST(Png, CallersBitmapIsResizedAndReturned)
{
  const std::string path = TempPath("rgb.png");
  ASSERT_TRUE(WriteFile(path, MakePng(Rgb3x2())));
  LICE_MemBitmap mine(50, 40);
  EXPECT_EQ(LICE_LoadPNG(path.c_str(), &mine), &mine);
  ExpectRgb3x2(&mine);
  LICE_SysBitmap sys(1, 1);
  EXPECT_EQ(LICE_LoadPNG(path.c_str(), &sys), &sys);
  ExpectRgb3x2(&sys);
  FlippedBitmap flipped(1, 1);
  EXPECT_EQ(LICE_LoadPNG(path.c_str(), &flipped), &flipped);
  ExpectRgb3x2(&flipped);
  const std::vector<unsigned char> png = MakePng(Rgb3x2());
  EXPECT_EQ(LICE_LoadPNGFromMemory(png.data(), static_cast<int>(png.size()), &flipped), &flipped);
  ExpectRgb3x2(&flipped);
  std::remove(path.c_str());
}

TEST(Png, ShortOrWrongSignatureMemoryLeavesTheBitmapAlone)
{
  std::vector<unsigned char> png = MakePng(Rgb3x2());
  LICE_MemBitmap mine(2, 2);
  LICE_Clear(&mine, 0x12345678);
  EXPECT_EQ(LICE_LoadPNGFromMemory(png.data(), 7, &mine), nullptr);
  png[1] = 'Q';
  EXPECT_EQ(LICE_LoadPNGFromMemory(png.data(), static_cast<int>(png.size()), &mine), nullptr);
  EXPECT_EQ(mine.getWidth(), 2);
  EXPECT_EQ(LICE_GetPixel(&mine, 1, 1), 0x12345678u);
  EXPECT_EQ(LICE_LoadPNGFromMemory(nullptr, 100, nullptr), nullptr);
}

TEST(Png, FilesThatAreNotPicturesGiveNull)
{
  const std::string path = TempPath("text.png");
  ASSERT_TRUE(WriteFile(path, {'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd', '\n'}));
  EXPECT_EQ(LICE_LoadPNG(path.c_str(), nullptr), nullptr);
  std::remove(path.c_str());
  EXPECT_EQ(LICE_LoadPNG(path.c_str(), nullptr), nullptr);
  EXPECT_EQ(LICE_LoadPNG(nullptr, nullptr), nullptr);
}

TEST(Png, TruncatedDataFailsQuietlyAtEveryLength)
{
  const std::vector<unsigned char> png = MakePng(Rgb3x2());
  const std::string path = TempPath("cut.png");
  LICE_SetPNGMessageFunc(CountMessages);
  gErrors = 0;
  ::testing::internal::CaptureStderr();
  LICE_MemBitmap mine;
  int failures = 0;
  // Every length up to the end of the image data; only IEND may be missing.
  for (size_t n = 8; n + 12 < png.size(); ++n)
  {
    std::vector<unsigned char> cut(png.begin(), png.begin() + static_cast<long>(n));
    EXPECT_EQ(FromMemory(cut), nullptr) << n;
    EXPECT_EQ(LICE_LoadPNGFromMemory(cut.data(), static_cast<int>(n), &mine), nullptr) << n;
    ASSERT_TRUE(WriteFile(path, cut));
    EXPECT_EQ(LICE_LoadPNG(path.c_str(), nullptr), nullptr) << n;
    ++failures;
  }
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
  LICE_SetPNGMessageFunc(nullptr);
  EXPECT_GE(gErrors, failures);
  std::remove(path.c_str());
}

TEST(Png, HugeHeadersAreRejectedBeforeAllocating)
{
  LICE_MemBitmap mine(2, 2);
  for (auto wh : {std::make_pair(100000u, 100000u), std::make_pair(30000u, 30000u),
                  std::make_pair(0x7FFFFFFFu, 1u)})
  {
    const std::vector<unsigned char> head = HeaderOnly(wh.first, wh.second);
    EXPECT_EQ(LICE_LoadPNGFromMemory(head.data(), static_cast<int>(head.size()), &mine), nullptr);
    EXPECT_EQ(mine.getWidth(), 2);
  }
}

TEST(Png, LoaderListChecksTheExtensionIgnoringCase)
{
  _LICE_ImageLoader_rec* rec = LICE_ImageLoader_list;
  ASSERT_NE(rec, nullptr);
  const char* ext = rec->get_extlist();
  EXPECT_STREQ(ext, "PNG files (*.PNG)");
  EXPECT_STREQ(ext + std::strlen(ext) + 1, "*.PNG");
  const std::string upper = TempPath("UP.PNG"), backup = TempPath("x.png.bak");
  ASSERT_TRUE(WriteFile(upper, MakePng(Rgb3x2())));
  ASSERT_TRUE(WriteFile(backup, MakePng(Rgb3x2())));
  std::unique_ptr<LICE_IBitmap> a(rec->loadfunc(upper.c_str(), true, nullptr));
  ExpectRgb3x2(a.get());
  EXPECT_EQ(rec->loadfunc(backup.c_str(), true, nullptr), nullptr);
  std::unique_ptr<LICE_IBitmap> b(rec->loadfunc(backup.c_str(), false, nullptr));
  EXPECT_NE(b, nullptr);
  std::remove(upper.c_str());
  std::remove(backup.c_str());
}

TEST(Png, NamedResourcesComeFromTheResourcesFolderBesideTheModule)
{
  char exe[1024];
  const ssize_t n = readlink("/proc/self/exe", exe, sizeof(exe) - 1);
  ASSERT_GT(n, 0);
  exe[n] = '\0';
  std::string dir(exe);
  dir = dir.substr(0, dir.rfind('/')) + "/../Resources";
  mkdir(dir.c_str(), 0755);
  const std::string name = "qv_res_" + std::to_string(getpid()) + ".png";
  ASSERT_TRUE(WriteFile(dir + "/" + name, MakePng(Rgb3x2())));
  std::unique_ptr<LICE_IBitmap> bm(LICE_LoadPNGFromNamedResource(name.c_str(), nullptr));
  ExpectRgb3x2(bm.get());
  std::remove((dir + "/" + name).c_str());
  EXPECT_EQ(LICE_LoadPNGFromNamedResource(std::string(401, 'a').c_str(), nullptr), nullptr);
  EXPECT_EQ(LICE_LoadPNGFromResource(nullptr, "101", nullptr), nullptr);
}
