// aaxhost process and the files users bring: metadata made by ffmpeg,
// metaflac and libsndfile carried (and named when it cannot be), byte-for-byte
// reproducible float output that sox reads without a warning, wide inputs,
// damaged WAV headers, output formats, standard input and output.

#include "tool_run.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

namespace
{
bool Have(const std::string& program)
{
  return std::system(("command -v " + program + " >/dev/null 2>&1").c_str()) == 0;
}

SF_INFO Info(const std::string& path)
{
  SF_INFO info{};
  if (SNDFILE* f = sf_open(path.c_str(), SFM_READ, &info)) sf_close(f);
  return info;
}

// A WAV with what broadcast and editing tools add: a title, two cue points
// with labels, a bext chunk and an iXML chunk.
void WriteRichWav(const std::string& path)
{
  const Audio a = TestStereo(4800);
  SF_INFO info{};
  info.channels = 2;
  info.samplerate = 48000;
  info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
  SNDFILE* f = sf_open(path.c_str(), SFM_WRITE, &info);
  ASSERT_NE(f, nullptr);
  sf_set_string(f, SF_STR_TITLE, "Take 3");
  SF_CUES cues{};
  cues.cue_count = 2;
  for (int i = 0; i < 2; ++i)
  {
    cues.cue_points[i].indx = i + 1;
    cues.cue_points[i].position = cues.cue_points[i].sample_offset = 100u + 2000u * unsigned(i);
    std::memcpy(&cues.cue_points[i].fcc_chunk, "data", 4);
  }
  ASSERT_TRUE(sf_command(f, SFC_SET_CUE, &cues, sizeof cues));
  // libsndfile writes no labels; a LIST/adtl as editors write it.
  const char adtl[] = "adtl"
                      "labl\x0a\0\0\0\x01\0\0\0Intro\0"
                      "labl\x0a\0\0\0\x02\0\0\0Verse\0";
  SF_CHUNK_INFO list{};
  std::memcpy(list.id, "LIST", 4);
  list.id_size = 4;
  list.datalen = sizeof adtl - 1;
  list.data = const_cast<char*>(adtl);
  ASSERT_EQ(sf_set_chunk(f, &list), 0);
  SF_CHUNK_INFO ixml{};
  std::memcpy(ixml.id, "iXML", 4);
  ixml.id_size = 4;
  ixml.datalen = 8;
  ixml.data = const_cast<char*>("<BWFXML>");
  ASSERT_EQ(sf_set_chunk(f, &ixml), 0);
  SF_BROADCAST_INFO bext{};
  std::strcpy(bext.description, "scene 12");
  std::strcpy(bext.originator, "field recorder");
  ASSERT_TRUE(sf_command(f, SFC_SET_BROADCAST_INFO, &bext, sizeof bext));
  sf_writef_float(f, a.samples.data(), sf_count_t(a.Frames()));
  sf_close(f);
}

struct Carried
{
  std::string title, description;
  std::vector<std::string> cueNames;
  std::vector<unsigned> cuePositions;
  bool ixml = false;
};

Carried ReadCarried(const std::string& path)
{
  Carried c;
  SF_INFO info{};
  SNDFILE* f = sf_open(path.c_str(), SFM_READ, &info);
  if (!f) return c;
  if (const char* t = sf_get_string(f, SF_STR_TITLE)) c.title = t;
  SF_BROADCAST_INFO bext{};
  if (sf_command(f, SFC_GET_BROADCAST_INFO, &bext, sizeof bext)) c.description = bext.description;
  SF_CUES cues{};
  if (sf_command(f, SFC_GET_CUE, &cues, sizeof cues))
    for (uint32_t i = 0; i < cues.cue_count; ++i)
    {
      c.cueNames.push_back(cues.cue_points[i].name);
      c.cuePositions.push_back(cues.cue_points[i].position);
    }
  SF_CHUNK_INFO want{};
  std::memcpy(want.id, "iXML", 4);
  want.id_size = 4;
  c.ixml = sf_get_chunk_iterator(f, &want) != nullptr;
  sf_close(f);
  return c;
}
} // namespace

TEST(AaxhostFiles, MetadataIsCarriedAndWhatAFormatCannotHoldIsNamedOnce)
{
  const std::string dir = TempFolder();
  WriteRichWav(dir + "/rich.wav");
  RunResult r = Shell(dir, "$AAXHOST process $BUNDLE rich.wav -o out.wav -q --param Swap=on");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  const Carried wav = ReadCarried(dir + "/out.wav");
  EXPECT_EQ(wav.title, "Take 3");
  EXPECT_EQ(wav.description, "scene 12");
  EXPECT_EQ(wav.cueNames, (std::vector<std::string>{"Intro", "Verse"}));
  EXPECT_EQ(wav.cuePositions, (std::vector<unsigned>{100, 2100}));
  EXPECT_TRUE(wav.ixml);

  // FLAC holds the title as a Vorbis comment, but no cues, bext or iXML.
  r = Shell(dir, "$AAXHOST process $BUNDLE rich.wav -o out.flac -q");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "aaxhost: warning: out.flac: not kept from rich.wav (the format cannot hold "
                   "it): iXML chunk, cue points with their labels and bext\n");
  EXPECT_EQ(ReadCarried(dir + "/out.flac").title, "Take 3");

  if (!Have("ffmpeg") || !Have("metaflac")) GTEST_SKIP() << "ffmpeg or metaflac missing";
  // Files as other programs write them: ffmpeg's INFO list, metaflac's tags.
  r = Shell(dir, "ffmpeg -v error -i rich.wav -metadata title='From ffmpeg' ff.wav && $AAXHOST "
                 "process $BUNDLE ff.wav -o ff-out.wav -q && "
                 "ffprobe -v error -show_entries format_tags=title -of csv=p=0 ff-out.wav");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "From ffmpeg\n");
  r = Shell(dir, "$AAXHOST process $BUNDLE rich.wav -o in.flac -q 2>/dev/null && "
                 "metaflac --set-tag=ARTIST=Band --set-tag=MOOD=calm in.flac && "
                 "$AAXHOST process $BUNDLE in.flac -o tagged.flac -q && "
                 "metaflac --show-tag=TITLE --show-tag=ARTIST tagged.flac");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "title=Take 3\nartist=Band\n");
  EXPECT_NE(r.err.find("not kept from in.flac (the format cannot hold it): Vorbis comment MOOD"),
            std::string::npos)
      << r.err;
}

TEST(AaxhostFiles, ExtensibleAndRf64HeadersAreKeptUnderAWavName)
{
  const std::string dir = TempFolder();
  for (int major : {SF_FORMAT_WAVEX, SF_FORMAT_RF64})
  {
    WriteAudio(dir + "/in.wav", TestStereo(1000), major | SF_FORMAT_PCM_24);
    ASSERT_EQ(Aaxhost({"process", kBundle, dir + "/in.wav", "-o", dir + "/out.wav", "-q"}).status,
              0);
    EXPECT_EQ(Info(dir + "/out.wav").format, major | SF_FORMAT_PCM_24);
  }
}

TEST(AaxhostFiles, FloatRendersAreByteIdenticalAndSoxReadsThemWithoutWarning)
{
  const std::string dir = TempFolder();
  // The PEAK chunk's time stamp counts seconds: renders a second apart.
  const RunResult r = Shell(
      dir, "$AAXHOST testsignal in.wav --seconds 0.1 >/dev/null && "
           "for f in wav rf64 aiff; do $AAXHOST process $BUNDLE in.wav -o a.$f -q; done && "
           "sleep 1.1 && for f in wav rf64 aiff; do $AAXHOST process $BUNDLE in.wav -o b.$f -q; "
           "done && cmp a.wav b.wav && cmp a.rf64 b.rf64 && cmp a.aiff b.aiff");
  EXPECT_EQ(r.status, 0) << r.out << r.err;
  EXPECT_EQ(Info(dir + "/a.wav").format, SF_FORMAT_WAV | SF_FORMAT_FLOAT);
  if (!Have("soxi")) GTEST_SKIP() << "sox missing";
  const RunResult sox = Shell(dir, "soxi a.wav in.wav >/dev/null");
  EXPECT_EQ(sox.status, 0);
  EXPECT_EQ(sox.err, "");
}

TEST(AaxhostFiles, WideInputsKeepTheirFormatWithOneNoteOnPrecision)
{
  const std::string dir = TempFolder();
  WriteAudio(dir + "/i32.wav", TestStereo(500), SF_FORMAT_WAV | SF_FORMAT_PCM_32);
  WriteAudio(dir + "/f64.wav", TestStereo(500), SF_FORMAT_WAV | SF_FORMAT_DOUBLE);
  const std::string out = TempFolder();
  const RunResult r =
      Aaxhost({"process", kBundle, dir + "/i32.wav", dir + "/f64.wav", "--out-dir", out, "-q"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "aaxhost: note: processed at 32-bit float precision: " + dir +
                       "/i32.wav: its 32-bit integer samples keep their top 24 bits (up to 64 "
                       "LSB off), so its render differs from it by that much even with every "
                       "switch off; the output keeps its format\n");
  EXPECT_EQ(Info(out + "/i32.wav").format, SF_FORMAT_WAV | SF_FORMAT_PCM_32);
  EXPECT_EQ(Info(out + "/f64.wav").format, SF_FORMAT_WAV | SF_FORMAT_DOUBLE);
}

TEST(AaxhostFiles, ShortDataWarnsWithTheMissingFramesAndAContradictoryTagIsRefused)
{
  const std::string dir = TempFolder();
  WriteAudio(dir + "/full.wav", TestStereo(1000), SF_FORMAT_WAV | SF_FORMAT_PCM_16);
  const std::string full = Slurp(dir + "/full.wav");
  std::ofstream(dir + "/cut.wav", std::ios::binary) << full.substr(0, full.size() - 4 * 400);
  RunResult r = Aaxhost({"process", kBundle, dir + "/cut.wav", "-o", dir + "/out.wav", "-q"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "aaxhost: warning: " + dir +
                       "/cut.wav: cut short: the header claims 1000 frames, the file holds 600 "
                       "(400 missing); rendered what it holds\n");
  EXPECT_EQ(ReadAudio(dir + "/out.wav").Frames(), 600u);

  // Tag 7 (mu-law) on 16-bit frames: libsndfile would read noise.
  std::string tag7 = full;
  tag7[20] = 7;
  std::ofstream(dir + "/tag7.wav", std::ios::binary) << tag7;
  r = Aaxhost({"process", kBundle, dir + "/tag7.wav", "-o", dir + "/t.wav", "-q"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "aaxhost: " + dir +
                       "/tag7.wav: the header contradicts itself (format tag 7, read as 8-bit "
                       "samples, but 16 bits per sample and 4-byte frames for 2 channels); its "
                       "samples cannot be read faithfully\n");
  EXPECT_FALSE(Exists(dir + "/t.wav"));
}

TEST(AaxhostFiles, OutputFormatFollowsTheExtensionAndUnknownOnesAreRefused)
{
  const std::string dir = TempFolder();
  WriteAudio(dir + "/in.wav", TestStereo(4800), SF_FORMAT_WAV | SF_FORMAT_PCM_16);
  RunResult r = Aaxhost({"process", kBundle, dir + "/in.wav", "-o", dir + "/out.mp3", "-q"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(Info(dir + "/out.mp3").format & SF_FORMAT_TYPEMASK, SF_FORMAT_MPEG);
  r = Aaxhost({"process", kBundle, dir + "/in.wav", "-o", dir + "/out.wvx", "-q"});
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err.rfind("aaxhost: " + dir + "/out.wvx: no format has the extension .wvx", 0), 0u)
      << r.err;
  EXPECT_FALSE(Exists(dir + "/out.wvx"));
}

TEST(AaxhostFiles, DashIsStandardInputAndOutputInEveryForm)
{
  const std::string dir = TempFolder();
  // The same bytes as a file render, whether standard output is a pipe (a
  // WAV or FLAC goes through a spool, AU streams) or a file, and from a pipe
  // in; a FIFO named as the output is written into, not replaced.
  const RunResult r = Shell(
      dir, "$AAXHOST testsignal in.wav --seconds 0.2 >/dev/null && "
           "$AAXHOST process $BUNDLE in.wav -o file.wav -q --param Swap=on && "
           "$AAXHOST process $BUNDLE in.wav -o - -q --param Swap=on | cat >piped.wav && "
           "$AAXHOST process $BUNDLE in.wav -o - -q --param Swap=on >redirected.wav && "
           "cat in.wav | $AAXHOST process $BUNDLE - -o fromstdin.wav -q --param Swap=on && "
           "mkfifo fifo && { timeout 20 cat fifo >fromfifo.wav & } && "
           "$AAXHOST process $BUNDLE in.wav -o fifo -q --param Swap=on && wait && test -p fifo && "
           "cmp file.wav piped.wav && cmp file.wav redirected.wav && cmp file.wav fromstdin.wav && "
           "cmp file.wav fromfifo.wav && "
           "$AAXHOST process $BUNDLE in.wav -o - --format flac -q | cat >piped.flac && "
           "$AAXHOST diff in.wav piped.flac --tolerance 1e-6 >/dev/null && "
           "$AAXHOST process $BUNDLE in.wav -o - --format au -q | cat >piped.au && "
           "$AAXHOST diff in.wav piped.au >/dev/null");
  EXPECT_EQ(r.status, 0) << r.out << r.err;
}

TEST(AaxhostFiles, AutomationPointsPastTheEndAreNamed)
{
  const std::string dir = TempFolder();
  WriteAudio(dir + "/in.wav", TestStereo(1000), SF_FORMAT_WAV | SF_FORMAT_PCM_16);
  std::ofstream(dir + "/moves.json") << R"({"Swap": [{"at": 0, "value": "on"},
                                                     {"at": 1000, "value": "off"}]})";
  const RunResult r = Aaxhost({"process", kBundle, dir + "/in.wav", "-o", dir + "/out.wav", "-q",
                               "--automation", dir + "/moves.json"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "aaxhost: warning: " + dir +
                       "/moves.json: \"Swap\" point 2 at frame 1000 is past the end of " + dir +
                       "/in.wav (1000 frames): it changes nothing\n");
}
