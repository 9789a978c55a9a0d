// aaxhost process, params and state on Quorvane's LV2 bundle through the
// format-neutral interface: the same samples as its AAX module, exact
// integer nulls, automation on its frame, and the same mistakes refused
// the same way for both formats.

#include "tool_run.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <random>

namespace
{
const std::string kLv2Bundle = QV_QUORVANE_LV2;

// The plug-in's URI, found on LV2_PATH as every LV2 host finds it: a folder
// holding only the bundle under test, inherited by every run of the tool.
std::string Uri()
{
  static const bool path = []
  {
    const std::string dir = TempFolder();
    return symlink(kLv2Bundle.c_str(), (dir + "/Quorvane.lv2").c_str()) == 0 &&
           setenv("LV2_PATH", dir.c_str(), 1) == 0;
  }();
  EXPECT_TRUE(path);
  return "urn:orvantine:quorvane";
}

RunResult Process(const std::string& plugin, const std::string& in, const std::string& out,
                  std::vector<std::string> extra)
{
  std::vector<std::string> args{"process", plugin, in, "-o", out, "--quiet"};
  args.insert(args.end(), extra.begin(), extra.end());
  return Aaxhost(args);
}

Audio Swapped(const Audio& in)
{
  Audio out = in;
  for (size_t f = 0; f < in.Frames(); ++f)
    std::swap(out.samples[2 * f], out.samples[2 * f + 1]);
  return out;
}

// Integer samples as the file stores them, left-aligned in 32 bits.
std::vector<int> ReadInts(const std::string& path)
{
  SF_INFO info{};
  SNDFILE* f = sf_open(path.c_str(), SFM_READ, &info);
  std::vector<int> out(f ? size_t(info.frames) * size_t(info.channels) : 0);
  if (f) sf_readf_int(f, out.data(), info.frames);
  sf_close(f);
  return out;
}
} // namespace

TEST(AaxhostLv2, RendersTheSameSamplesAsTheAaxModuleInEveryMode)
{
  const std::string dir = TempFolder();
  WriteAudio(dir + "/in.wav", TestStereo(3000), SF_FORMAT_WAV | SF_FORMAT_FLOAT);
  const struct
  {
    std::vector<std::string> aax, lv2;
  } modes[] = {{{}, {}},
               {{"--param", "Swap=on"}, {"--param", "swap=on"}},
               {{"--param", "Mono=on"}, {"--param", "mono=on"}}};
  for (const auto& m : modes)
  {
    ASSERT_EQ(Process(kBundle, dir + "/in.wav", dir + "/aax.wav", m.aax).status, 0);
    const RunResult r = Process(Uri(), dir + "/in.wav", dir + "/lv2.wav", m.lv2);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadAudio(dir + "/lv2.wav").samples, ReadAudio(dir + "/aax.wav").samples)
        << (m.lv2.empty() ? "off" : m.lv2[1]);
  }
}

TEST(AaxhostLv2, ParamTakesSymbolOrNameLabelRegardlessOfCaseOrANormalisedNumber)
{
  const std::string dir = TempFolder();
  const Audio input = TestStereo(600);
  WriteAudio(dir + "/in.wav", input, SF_FORMAT_WAV | SF_FORMAT_FLOAT);
  for (const char* p : {"swap=on", "Swap=ON", "swap=1"})
  {
    const RunResult r = Process(Uri(), dir + "/in.wav", dir + "/o.wav", {"--param", p});
    ASSERT_EQ(r.status, 0) << p << ": " << r.err;
    EXPECT_EQ(ReadAudio(dir + "/o.wav").samples, Swapped(input).samples) << p;
  }
}

TEST(AaxhostLv2, IntegerFilesWithBothSwitchesOffNullExactly)
{
  const std::string dir = TempFolder();
  std::mt19937 random(7);
  // Full-scale noise at each width's precision; 32-bit samples keep 24
  // significant bits, all that a float render can carry.
  const struct
  {
    int subtype, dropBits;
  } widths[] = {{SF_FORMAT_PCM_16, 16}, {SF_FORMAT_PCM_24, 8}, {SF_FORMAT_PCM_32, 8}};
  for (const auto& w : widths)
  {
    std::vector<int> samples(2 * 4000);
    for (int& s : samples)
      s = static_cast<int>(random() & (~0u << w.dropBits));
    samples[0] = INT32_MIN;
    SF_INFO info{};
    info.channels = 2;
    info.samplerate = 44100;
    info.format = SF_FORMAT_WAV | w.subtype;
    SNDFILE* f = sf_open((dir + "/in.wav").c_str(), SFM_WRITE, &info);
    ASSERT_TRUE(f);
    sf_writef_int(f, samples.data(), 4000);
    sf_close(f);
    const RunResult r = Process(kLv2Bundle, dir + "/in.wav", dir + "/out.wav", {});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(ReadInts(dir + "/out.wav") == samples) << "subtype " << w.subtype;
  }
}

TEST(AaxhostLv2, AutomationLandsOnItsExactFrameAsInAax)
{
  const std::string dir = TempFolder();
  const Audio input = TestStereo(5000);
  WriteAudio(dir + "/in.wav", input, SF_FORMAT_WAV | SF_FORMAT_FLOAT);
  std::ofstream(dir + "/a.json")
      << R"({"swap": [{"at": 1234, "value": "on"}, {"at": 2345, "value": 0}]})";
  std::ofstream(dir + "/b.json")
      << R"({"Swap": [{"at": 1234, "value": "on"}, {"at": 2345, "value": 0}]})";
  ASSERT_EQ(
      Process(Uri(), dir + "/in.wav", dir + "/lv2.wav", {"--automation", dir + "/a.json"}).status,
      0);
  ASSERT_EQ(
      Process(kBundle, dir + "/in.wav", dir + "/aax.wav", {"--automation", dir + "/b.json"}).status,
      0);
  const Audio out = ReadAudio(dir + "/lv2.wav");
  const Audio swapped = Swapped(input);
  ASSERT_EQ(out.Frames(), input.Frames());
  for (size_t f = 0; f < out.Frames(); ++f)
  {
    const Audio& want = f >= 1234 && f < 2345 ? swapped : input;
    ASSERT_EQ(out.samples[2 * f], want.samples[2 * f]) << "frame " << f;
    ASSERT_EQ(out.samples[2 * f + 1], want.samples[2 * f + 1]) << "frame " << f;
  }
  EXPECT_EQ(out.samples, ReadAudio(dir + "/aax.wav").samples);
}

TEST(AaxhostLv2, StateFolderAndPresetRecallInOrder)
{
  const std::string dir = TempFolder();
  const Audio input = TestStereo(800);
  WriteAudio(dir + "/in.wav", input, SF_FORMAT_WAV | SF_FORMAT_FLOAT);
  const RunResult saved =
      Aaxhost({"state", "save", kLv2Bundle, dir + "/swap.state", "--param", "Swap=on"});
  ASSERT_EQ(saved.status, 0) << saved.err;
  const RunResult shown = Aaxhost({"state", "show", kLv2Bundle, dir + "/swap.state"});
  EXPECT_NE(shown.out.find("swap  \"Swap\"  on (1)"), std::string::npos) << shown.out;
  ASSERT_EQ(
      Process(kLv2Bundle, dir + "/in.wav", dir + "/s.wav", {"--state", dir + "/swap.state"}).status,
      0);
  EXPECT_EQ(ReadAudio(dir + "/s.wav").samples, Swapped(input).samples);
  // The preset (both switches off) comes after the state.
  const RunResult p = Process(kLv2Bundle, dir + "/in.wav", dir + "/p.wav",
                              {"--state", dir + "/swap.state", "--preset", "quorvane"});
  ASSERT_EQ(p.status, 0) << p.err;
  EXPECT_EQ(ReadAudio(dir + "/p.wav").samples, input.samples);
}

TEST(AaxhostLv2, CommandLineMistakesAreUsageErrorsInOneLineForBothFormats)
{
  const std::string dir = TempFolder();
  WriteAudio(dir + "/in.wav", TestStereo(100), SF_FORMAT_WAV | SF_FORMAT_FLOAT);
  const struct
  {
    std::string param, message;
  } cases[] = {{"Pan=on", "unknown parameter \"Pan\""},
               {"Swap=sideways", "\"sideways\" is no value of parameter"},
               {"Swap=2", "value 2 of parameter"}};
  for (const std::string& plugin : {kBundle, Uri()})
    for (const auto& c : cases)
      for (const std::vector<std::string>& args :
           {std::vector<std::string>{"params", plugin, "--param", c.param},
            std::vector<std::string>{"process", plugin, dir + "/in.wav", "-o", dir + "/o.wav",
                                     "--param", c.param}})
      {
        const RunResult r = Aaxhost(args);
        EXPECT_EQ(r.status, 2) << plugin << " " << args[0] << " " << c.param << ": " << r.err;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << "one line: " << r.err;
      }
  EXPECT_FALSE(Exists(dir + "/o.wav"));
}
