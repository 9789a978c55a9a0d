// wav_as FLOAT_IN OUT LIKE: writes the samples of FLOAT_IN to OUT in LIKE's
// format, converting floats the way libsndfile does by default. lilv's
// lv2apply and lv2file read and write audio through libsndfile with those
// defaults, so this turns aaxhost's exact float output into the very file
// those hosts write for the same samples.
#include <sndfile.h>

#include <cstdio>
#include <vector>

int main(int argc, char** argv)
{
  if (argc != 4)
  {
    std::fprintf(stderr, "usage: wav_as FLOAT_IN OUT LIKE\n");
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
