// wav_as FLOAT_IN OUT LIKE: writes the samples of FLOAT_IN to OUT in LIKE's
// format, converting floats the way libsndfile does by default. lilv's
// lv2apply and lv2file read and write audio through libsndfile with those
// defaults, so this turns aaxhost's exact float output into the very file
// those hosts write for the same samples.
//   wav_as --edge OUT    a stereo float WAV of values where a double
//                        average and a float one differ, subnormals and
//                        opposite signs, 5000 frames
//   wav_as --edge-unit OUT  the same with every value within -1..1 and no
//                        negative zero (lv2file clips, and its clipping
//                        turns -0 into +0)
//   wav_as --same A B    exit 0 when both hold the same float bits (sox,
//                        which reads through integers, cannot tell)
#include <sndfile.h>

#include <cfloat>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace
{
bool ReadFloats(const char* path, SF_INFO* info, std::vector<float>* out)
{
  SNDFILE* f = sf_open(path, SFM_READ, info);
  if (!f) return false;
  out->resize(static_cast<size_t>(info->frames * info->channels));
  const bool ok = sf_readf_float(f, out->data(), info->frames) == info->frames;
  sf_close(f);
  return ok;
}

int Edge(const char* path, bool unit)
{
  const float pairs[][2] = {{FLT_MAX, FLT_MAX},   {-FLT_MAX, -FLT_MAX}, {FLT_MAX, -FLT_MAX},
                            {FLT_MAX, FLT_MIN},   {FLT_TRUE_MIN, FLT_TRUE_MIN},
                            {FLT_TRUE_MIN, -FLT_TRUE_MIN}, {1e-39f, 3e-39f}, {-0.0f, 0.0f},
                            {0.75f, -0.25f},      {16777215.0f, 1.0f},  {-1.0f, 1.0f}};
  const size_t n = sizeof(pairs) / sizeof(pairs[0]);
  std::vector<float> v;
  // Within -1..1: the largest floats below 1 meet, and so on.
  auto scale = [unit](float x)
  {
    if (!unit) return x;
    if (x == 0.0f) return 0.0f;
    return x > 1.0f || x < -1.0f ? x / FLT_MAX * 0.99999994f : x;
  };
  for (size_t i = 0; i < 5000; ++i)
  {
    v.push_back(scale(pairs[i % n][i / n % 2]));
    v.push_back(scale(pairs[i % n][1 - i / n % 2]));
  }
  SF_INFO info{};
  info.samplerate = 48000;
  info.channels = 2;
  info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
  SNDFILE* o = sf_open(path, SFM_WRITE, &info);
  const bool ok = o && sf_writef_float(o, v.data(), 5000) == 5000;
  if (o) sf_close(o);
  if (!ok) std::fprintf(stderr, "wav_as: cannot write %s\n", path);
  return ok ? 0 : 1;
}

int Same(const char* a, const char* b)
{
  SF_INFO ia{}, ib{};
  std::vector<float> va, vb;
  if (!ReadFloats(a, &ia, &va) || !ReadFloats(b, &ib, &vb))
  {
    std::fprintf(stderr, "wav_as: cannot read %s or %s\n", a, b);
    return 2;
  }
  if (ia.channels != ib.channels || va.size() != vb.size())
  {
    std::fprintf(stderr, "wav_as: %s and %s differ in shape\n", a, b);
    return 1;
  }
  for (size_t i = 0; i < va.size(); ++i)
    if (std::memcmp(&va[i], &vb[i], sizeof(float)) != 0)
    {
      std::fprintf(stderr, "wav_as: %s and %s differ at sample %zu: %g, %g\n", a, b, i, va[i],
                   vb[i]);
      return 1;
    }
  return 0;
}
} // namespace

int main(int argc, char** argv)
{
  if (argc == 3 && std::string(argv[1]) == "--edge") return Edge(argv[2], false);
  if (argc == 3 && std::string(argv[1]) == "--edge-unit") return Edge(argv[2], true);
  if (argc == 4 && std::string(argv[1]) == "--same") return Same(argv[2], argv[3]);
  if (argc != 4)
  {
    std::fprintf(stderr, "usage: wav_as FLOAT_IN OUT LIKE | --edge[-unit] OUT | --same A B\n");
    return 2;
  }
  SF_INFO in{}, like{};
  SNDFILE* f = sf_open(argv[1], SFM_READ, &in);
  SNDFILE* l = sf_open(argv[3], SFM_READ, &like);
  if (!f || !l)
  {
    std::fprintf(stderr, "wav_as: cannot read %s\n", f ? argv[3] : argv[1]);
    return 1;
  }
  sf_close(l);
  std::vector<float> buf(static_cast<size_t>(in.frames * in.channels));
  sf_readf_float(f, buf.data(), in.frames);
  sf_close(f);
  SF_INFO out{};
  out.samplerate = in.samplerate;
  out.channels = in.channels;
  out.format = like.format;
  SNDFILE* o = sf_open(argv[2], SFM_WRITE, &out);
  if (!o || sf_writef_float(o, buf.data(), in.frames) != in.frames)
  {
    std::fprintf(stderr, "wav_as: cannot write %s\n", argv[2]);
    return 1;
  }
  sf_close(o);
  return 0;
}
