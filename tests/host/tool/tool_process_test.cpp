// aaxhost process through its real command line: exact samples per file
// format, block sizes, automation timing, parameter forms, state, -j.

#include "tool_run.h"

#include <gtest/gtest.h>

#include <fstream>

namespace
{
Audio Swapped(const Audio& in)
{
  Audio out = in;
  for (size_t f = 0; f < in.Frames(); ++f)
    std::swap(out.samples[2 * f], out.samples[2 * f + 1]);
  return out;
}

Audio Mono(const Audio& in)
{
  Audio out = in;
  for (size_t f = 0; f < in.Frames(); ++f)
    out.samples[2 * f] = out.samples[2 * f + 1] =
        0.5f * (in.samples[2 * f + 1] + in.samples[2 * f]);
  return out;
}

// What a file of this format holds for these samples.
Audio Stored(const Audio& a, const std::string& path, int format)
{
  WriteAudio(path, a, format);
  return ReadAudio(path);
}

RunResult Process(const std::string& in, const std::string& out, std::vector<std::string> extra)
{
  std::vector<std::string> args{"process", kBundle, in, "-o", out, "--quiet"};
  args.insert(args.end(), extra.begin(), extra.end());
  return Aaxhost(args);
}
} // namespace

TEST(AaxhostProcess, SwapIsBitExactAndMonoIsTheSinglePrecisionAverageInEveryFormat)
{
  const struct
  {
    const char* ext;
    int format;
  } formats[] = {{"wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16},
                 {"wav", SF_FORMAT_WAV | SF_FORMAT_PCM_24},
                 {"wav", SF_FORMAT_WAV | SF_FORMAT_FLOAT},
                 {"flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16},
                 {"aiff", SF_FORMAT_AIFF | SF_FORMAT_PCM_24}};
  const std::string dir = TempFolder();
  for (const auto& f : formats)
  {
    SCOPED_TRACE(std::to_string(f.format));
    const std::string in = dir + "/in." + f.ext;
    const Audio input = Stored(TestStereo(3000), in, f.format);
    ASSERT_EQ(Process(in, dir + "/swap." + f.ext, {"--param", "Swap=on"}).status, 0);
    ASSERT_EQ(Process(in, dir + "/mono." + f.ext, {"--param", "Mono=on"}).status, 0);
    const Audio swap = ReadAudio(dir + "/swap." + f.ext);
    EXPECT_EQ(swap.samples, Swapped(input).samples);
    const Audio mono = ReadAudio(dir + "/mono." + f.ext);
    EXPECT_EQ(mono.samples, Stored(Mono(input), dir + "/expect." + f.ext, f.format).samples);
    // Same format and sample type as the input.
    SF_INFO info{};
    SNDFILE* s = sf_open((dir + "/swap." + f.ext).c_str(), SFM_READ, &info);
    sf_close(s);
    EXPECT_EQ(info.format, f.format);
  }
}

TEST(AaxhostProcess, BlockSizesGiveIdenticalOutput)
{
  const std::string dir = TempFolder();
  WriteAudio(dir + "/in.wav", TestStereo(5000), SF_FORMAT_WAV | SF_FORMAT_FLOAT);
  const std::string automation = dir + "/a.json";
  std::ofstream(automation)
      << R"({"Swap": [{"at": 1000, "value": "on"}, {"at": 3333, "value": 0}]})";
  std::vector<float> first;
  for (const char* block : {"1", "7", "512", "4096"})
  {
    const std::string out = dir + "/out" + block + ".wav";
    ASSERT_EQ(Process(dir + "/in.wav", out, {"--block", block, "--automation", automation}).status,
              0);
    if (first.empty())
      first = ReadAudio(out).samples;
    else
      EXPECT_EQ(ReadAudio(out).samples, first) << "block " << block;
  }
}

TEST(AaxhostProcess, AutomationLandsAtTheExactSampleForEachTimeForm)
{
  const std::string dir = TempFolder();
  const Audio input = TestStereo(48000, 48000); // one second
  WriteAudio(dir + "/in.wav", input, SF_FORMAT_WAV | SF_FORMAT_FLOAT);
  // 0.25 s = 12000, 500ms = 24000, 75% = 36000 frames; by name and identifier.
  const std::string automation = dir + "/a.json";
  std::ofstream(automation)
      << R"({"Swap": [{"at": 1234, "value": "on"}, {"at": "0.25s", "value": "off"},
    {"at": "500ms", "value": 1}, {"at": "75%", "value": 0.0}]})";
  ASSERT_EQ(Process(dir + "/in.wav", dir + "/out.wav", {"--automation", automation}).status, 0);
  const Audio out = ReadAudio(dir + "/out.wav");
  const Audio swapped = Swapped(input);
  ASSERT_EQ(out.Frames(), input.Frames());
  for (size_t f = 0; f < out.Frames(); ++f)
  {
    const bool on = (f >= 1234 && f < 12000) || (f >= 24000 && f < 36000);
    const Audio& want = on ? swapped : input;
    ASSERT_EQ(out.samples[2 * f], want.samples[2 * f]) << "frame " << f;
    ASSERT_EQ(out.samples[2 * f + 1], want.samples[2 * f + 1]) << "frame " << f;
  }
}

TEST(AaxhostProcess, ParamTakesIdentifierNameDisplayTextAndNumber)
{
  const std::string dir = TempFolder();
  const Audio input = TestStereo(600);
  WriteAudio(dir + "/in.wav", input, SF_FORMAT_WAV | SF_FORMAT_FLOAT);
  const std::vector<float> swapped = Swapped(input).samples;
  for (const char* p : {"1=on", "Swap=on", "Swap=1", "1=0.9", "swap=ON"})
  {
    ASSERT_EQ(Process(dir + "/in.wav", dir + "/o.wav", {"--param", p}).status, 0) << p;
    EXPECT_EQ(ReadAudio(dir + "/o.wav").samples, swapped) << p;
  }
  ASSERT_EQ(Process(dir + "/in.wav", dir + "/o.wav", {"--param", "Swap=on", "--param", "Swap=off"})
                .status,
            0);
  EXPECT_EQ(ReadAudio(dir + "/o.wav").samples, input.samples);
}

TEST(AaxhostProcess, SavedStateRendersLikeTheSameParams)
{
  const std::string dir = TempFolder();
  WriteAudio(dir + "/in.wav", TestStereo(700), SF_FORMAT_WAV | SF_FORMAT_FLOAT);
  ASSERT_EQ(Aaxhost({"state", "save", kBundle, dir + "/s.chunk", "--param", "Swap=on", "--param",
                     "Mono=on"})
                .status,
            0);
  ASSERT_EQ(Process(dir + "/in.wav", dir + "/a.wav", {"--state", dir + "/s.chunk"}).status, 0);
  ASSERT_EQ(Process(dir + "/in.wav", dir + "/b.wav",
                    {"--param", "Swap=on", "--param", "Mono=on", "--save-state", dir + "/t.chunk"})
                .status,
            0);
  EXPECT_EQ(ReadAudio(dir + "/a.wav").samples, ReadAudio(dir + "/b.wav").samples);
  EXPECT_NE(ReadAudio(dir + "/a.wav").samples, ReadAudio(dir + "/in.wav").samples);
  EXPECT_TRUE(Slurp(dir + "/s.chunk") == Slurp(dir + "/t.chunk"));
}

TEST(AaxhostProcess, TwoJobsOverThreeFilesEqualOneAtATime)
{
  const std::string dir = TempFolder();
  std::vector<std::string> inputs;
  for (int i = 0; i < 3; ++i)
  {
    inputs.push_back(dir + "/in" + std::to_string(i) + ".wav");
    WriteAudio(inputs.back(), TestStereo(20000 + 1000 * size_t(i)),
               SF_FORMAT_WAV | SF_FORMAT_FLOAT);
  }
  for (const char* sub : {"/one", "/two"})
    ASSERT_EQ(system(("mkdir " + dir + sub).c_str()), 0);
  std::vector<std::string> args{"process", kBundle};
  args.insert(args.end(), inputs.begin(), inputs.end());
  for (const char* a : {"--param", "Mono=on", "--quiet"})
    args.push_back(a);
  std::vector<std::string> two = args;
  two.insert(two.end(), {"--out-dir", dir + "/two", "-j", "2"});
  args.insert(args.end(), {"--out-dir", dir + "/one"});
  ASSERT_EQ(Aaxhost(args).status, 0);
  ASSERT_EQ(Aaxhost(two).status, 0);
  for (int i = 0; i < 3; ++i)
  {
    const std::string name = "/in" + std::to_string(i) + ".wav";
    // Samples, not bytes: float WAV headers carry a time stamp.
    EXPECT_TRUE(ReadAudio(dir + "/one" + name).samples == ReadAudio(dir + "/two" + name).samples);
    EXPECT_EQ(ReadAudio(dir + "/two" + name).Frames(), 20000u + 1000u * unsigned(i));
  }
}

TEST(AaxhostProcess, BatchNamesEveryBadInputBeforeWritingAnything)
{
  const std::string dir = TempFolder();
  WriteAudio(dir + "/good.wav", TestStereo(100), SF_FORMAT_WAV | SF_FORMAT_FLOAT);
  std::ofstream(dir + "/bad.wav") << "not audio";
  ASSERT_EQ(system(("mkdir " + dir + "/out").c_str()), 0);
  const RunResult r = Aaxhost({"process", kBundle, dir + "/good.wav", dir + "/bad.wav",
                               dir + "/none.wav", "--out-dir", dir + "/out"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("bad.wav: not a readable audio file"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("none.wav: No such file"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("2 of 3 inputs cannot be rendered; nothing was written"), std::string::npos);
  EXPECT_TRUE(Entries(dir + "/out").empty());
}

// The command line Host/README.md shows for many files: one process per file
// under GNU parallel, all writing into one folder.
TEST(AaxhostProcess, GnuParallelRendersIntoOneFolderWithoutCollisions)
{
  if (system("parallel --version >/dev/null 2>&1") != 0) GTEST_SKIP() << "no GNU parallel";
  const std::string dir = TempFolder();
  for (int i = 0; i < 4; ++i)
    WriteAudio(dir + "/in" + std::to_string(i) + ".wav", TestStereo(30000),
               SF_FORMAT_WAV | SF_FORMAT_FLOAT);
  ASSERT_EQ(system(("mkdir " + dir + "/renders").c_str()), 0);
  // Each file twice at once: the same output from two processes.
  const std::string cmd = "cd " + dir + " && parallel -j 4 --halt now,fail=1 '" + QV_AAXHOST +
                          "' process '" + kBundle +
                          "' {} --out-dir renders -q --param Swap=on ::: in*.wav in*.wav";
  ASSERT_EQ(system(cmd.c_str()), 0);
  const std::vector<float> swapped = Swapped(TestStereo(30000)).samples;
  EXPECT_EQ(Entries(dir + "/renders").size(), 4u);
  for (int i = 0; i < 4; ++i)
    EXPECT_EQ(ReadAudio(dir + "/renders/in" + std::to_string(i) + ".wav").samples, swapped);
}
