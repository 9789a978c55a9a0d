// Checks that a host's stereo export is a recorded take with its channels
// exchanged (or, with --straight, unchanged), sample for sample (float
// samples compared as they are, not through a conversion that could hide a
// difference in the lowest bits).
//
//   lv2_take_compare [--straight] EXPORT.wav TAKE_L.wav TAKE_R.wav [SKIP_SECONDS]
//
// The export may start earlier or later than the take (the host places the
// take on its timeline), so the offset is found first, from the first frame
// past SKIP_SECONDS; then every frame of the overlap but SKIP_SECONDS at each
// end (region fades) must match. Prints one line; exits 0 when they do.
#include <sndfile.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <algorithm>
#include <vector>

namespace
{
struct Audio
{
  std::vector<float> samples; // interleaved
  int channels = 0;
  long frames = 0;
  int rate = 0;
};

bool Read(const char* path, Audio& audio)
{
  SF_INFO info{};
  SNDFILE* file = sf_open(path, SFM_READ, &info);
  if (!file)
  {
    std::printf("lv2_take_compare: cannot read %s: %s\n", path, sf_strerror(nullptr));
    return false;
  }
  audio.channels = info.channels;
  audio.frames = static_cast<long>(info.frames);
  audio.rate = info.samplerate;
  audio.samples.resize(static_cast<size_t>(info.frames) * static_cast<size_t>(info.channels));
  sf_count_t got = sf_readf_float(file, audio.samples.data(), info.frames);
  sf_close(file);
  if (got != info.frames)
  {
    std::printf("lv2_take_compare: %s is shorter than its header says\n", path);
    return false;
  }
  return true;
}

int Fail(const char* what)
{
  std::printf("lv2_take_compare: %s\n", what);
  return 1;
}
} // namespace

int main(int argc, char** argv)
{
  const bool straight = argc > 1 && std::strcmp(argv[1], "--straight") == 0;
  if (straight)
  {
    --argc;
    ++argv;
  }
  if (argc < 4)
    return Fail("usage: lv2_take_compare [--straight] EXPORT TAKE_L TAKE_R [SKIP_SECONDS]");
  const char* how = straight ? "unchanged" : "exchanged";
  Audio out, left, right;
  if (!Read(argv[1], out) || !Read(argv[2], left) || !Read(argv[3], right)) return 1;
  if (out.channels != 2) return Fail("the export is not stereo");
  if (left.channels != 1 || right.channels != 1) return Fail("the take's files are not mono");
  if (left.frames != right.frames) return Fail("the take's two files differ in length");
  const long skip = static_cast<long>((argc > 4 ? std::atof(argv[4]) : 0.1) * out.rate);

  // What the export's left and right must be: the take's, or exchanged.
  const Audio& wantL = straight ? left : right;
  const Audio& wantR = straight ? right : left;
  auto matchesAt = [&](long i, long lag)
  {
    long t = i + lag;
    return t >= 0 && t < left.frames && out.samples[2 * i] == wantL.samples[t] &&
           out.samples[2 * i + 1] == wantR.samples[t];
  };
  // The take's channels must differ, or an exchange would be invisible.
  long equal = 0;
  for (long t = 0; t < left.frames; ++t)
    equal += left.samples[t] == right.samples[t];
  if (equal * 2 > left.frames) return Fail("the take's left and right are mostly equal");

  // Offset: 256 consecutive matching frames from the first steady frame.
  const long probe = 256, maxLag = out.rate;
  long lag = -maxLag - 1;
  for (long d = -maxLag; d <= maxLag && lag < -maxLag; ++d)
  {
    long i = skip;
    while (i < skip + probe && i < out.frames && matchesAt(i, d))
      ++i;
    if (i == skip + probe) lag = d;
  }
  if (lag < -maxLag)
  {
    std::printf("lv2_take_compare: no stretch of the export is the take %s\n", how);
    return 1;
  }

  long first = skip, last = std::min(out.frames, left.frames - lag) - skip;
  if (last - first < out.rate) return Fail("the export and the take overlap by less than a second");
  for (long i = first; i < last; ++i)
    if (!matchesAt(i, lag))
    {
      std::printf("lv2_take_compare: export frame %ld is (%.9g, %.9g), the take %s is "
                  "(%.9g, %.9g)\n",
                  i, out.samples[2 * i], out.samples[2 * i + 1], how, wantL.samples[i + lag],
                  wantR.samples[i + lag]);
      return 1;
    }
  std::printf("lv2_take_compare: %ld frames of the export are the take %s (take offset %ld)\n",
              last - first, how, lag);
  return 0;
}
