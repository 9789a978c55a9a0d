#include "AudioHeader.h"

#include <vector>

namespace aaxtool
{
namespace
{
// Bytes per sample of the subtypes libsndfile reads at a fixed size; 0 for
// compressed ones, whose blocks hold many frames.
int SampleBytes(int subtype)
{
  switch (subtype)
  {
  case SF_FORMAT_PCM_S8:
  case SF_FORMAT_PCM_U8:
  case SF_FORMAT_ULAW:
  case SF_FORMAT_ALAW:
    return 1;
  case SF_FORMAT_PCM_16:
    return 2;
  case SF_FORMAT_PCM_24:
    return 3;
  case SF_FORMAT_PCM_32:
  case SF_FORMAT_FLOAT:
    return 4;
  case SF_FORMAT_DOUBLE:
    return 8;
  default:
    return 0;
  }
}

unsigned Le16(const char* p)
{
  const auto* u = reinterpret_cast<const unsigned char*>(p);
  return u[0] | (u[1] << 8);
}
} // namespace

std::vector<FileChunk> ListChunks(SNDFILE* in)
{
  std::vector<FileChunk> chunks;
  for (SF_CHUNK_ITERATOR* it = sf_get_chunk_iterator(in, nullptr); it;
       it = sf_next_chunk_iterator(it))
  {
    // A call with no room for data names the chunk without reading it.
    SF_CHUNK_INFO c{};
    char none[1];
    c.data = none;
    SF_CHUNK_INFO size{};
    if (sf_get_chunk_data(it, &c) != SF_ERR_NO_ERROR || c.id_size != 4 ||
        sf_get_chunk_size(it, &size) != SF_ERR_NO_ERROR)
      continue;
    FileChunk chunk{std::string(c.id, 4), size.datalen, {}};
    if (chunk.id != "data" && chunk.id != "SSND" && chunk.id != "RIFF" && chunk.id != "RF64" &&
        chunk.id != "FORM")
    {
      chunk.data.resize(size.datalen);
      c.data = chunk.data.data();
      c.datalen = size.datalen;
      if (sf_get_chunk_data(it, &c) != SF_ERR_NO_ERROR) continue;
    }
    chunks.push_back(std::move(chunk));
  }
  return chunks;
}

HeaderCheck CheckHeader(SNDFILE* in, const SF_INFO& info)
{
  HeaderCheck check;
  const int major = info.format & SF_FORMAT_TYPEMASK;
  if (major != SF_FORMAT_WAV && major != SF_FORMAT_WAVEX) return check;
  std::vector<char> fmt;
  int64_t dataBytes = -1;
  for (FileChunk& c : ListChunks(in))
  {
    if (c.id == "fmt " && fmt.empty()) fmt = std::move(c.data);
    if (c.id == "data") dataBytes = c.size;
  }
  if (fmt.size() < 16) return check;
  const unsigned tag = Le16(&fmt[0]), channels = Le16(&fmt[2]), blockAlign = Le16(&fmt[12]),
                 bits = Le16(&fmt[14]);
  const int bytes = SampleBytes(info.format & SF_FORMAT_SUBMASK);
  if (bytes > 0 && blockAlign != unsigned(bytes) * channels)
  {
    check.refusal = "the header contradicts itself (format tag " + std::to_string(tag) +
                    ", read as " + std::to_string(bytes * 8) + "-bit samples, but " +
                    std::to_string(bits) + " bits per sample and " + std::to_string(blockAlign) +
                    "-byte frames for " + std::to_string(channels) +
                    " channels); its samples cannot be read faithfully";
    return check;
  }
  // 0 and 0xFFFFFFFF are what writers that cannot seek back leave: no
  // length was claimed.
  if (bytes > 0 && dataBytes > 0 && dataBytes != 0xFFFFFFFF && blockAlign > 0)
  {
    const int64_t claimed = dataBytes / blockAlign;
    if (claimed > info.frames) check.missingFrames = claimed - info.frames;
  }
  return check;
}
} // namespace aaxtool
