/* The floor for aaxhost process: a bare libsndfile read-and-write of the
 * same file in blocks, no plug-in.   sndfile_copy IN OUT */
#include <sndfile.h>
#include <stdio.h>

int main(int argc, char** argv)
{
  if (argc != 3) return 2;
  SF_INFO info = {0};
  SNDFILE* in = sf_open(argv[1], SFM_READ, &info);
  if (!in) return 1;
  SNDFILE* out = sf_open(argv[2], SFM_WRITE, &info);
  if (!out) return 1;
  static float buf[8192 * 8];
  const sf_count_t block = info.channels <= 8 ? 8192 : 1;
  for (sf_count_t n; (n = sf_readf_float(in, buf, block)) > 0;)
    if (sf_writef_float(out, buf, n) != n) return 1;
  sf_close(in);
  return sf_close(out) == 0 ? 0 : 1;
}
