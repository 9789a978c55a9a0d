// A WAV header checked against what libsndfile made of it: libsndfile reads
// a data chunk cut short as far as it goes, and trusts a format tag whose
// sample size contradicts the header's frame size (a 16-bit file with tag 7
// reads as twice as many frames of mu-law noise).
#pragma once

#include <sndfile.h>

#include <cstdint>
#include <string>
#include <vector>

namespace aaxtool
{
struct HeaderCheck
{
  int64_t missingFrames = 0; // frames the data chunk claims past the file's end
  std::string refusal;       // why the samples cannot be read faithfully, or empty
};

// The chunks of a WAV or AIFF file as libsndfile found them, in file order,
// with their data except for the sample data and the outer container's.
struct FileChunk
{
  std::string id;    // four characters
  uint32_t size = 0; // as the header claims
  std::vector<char> data;
};
std::vector<FileChunk> ListChunks(SNDFILE* in);

// For WAV files (plain and extensible); other formats pass. [any]
HeaderCheck CheckHeader(SNDFILE* in, const SF_INFO& info);
} // namespace aaxtool
