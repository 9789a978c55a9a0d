// What an audio file holds besides its samples, carried from an input to its
// render: text fields (WAV LIST/INFO, FLAC Vorbis comments, AIFF names), cue
// points with their labels, broadcast (bext), instrument, cart and channel
// map information through libsndfile's calls, and between WAV files every
// other chunk verbatim. What the output cannot hold is named, so the caller
// can say once what was not kept.
#pragma once

#include <sndfile.h>

#include <string>
#include <vector>

namespace aaxtool
{
struct AudioMetadata
{
  struct Text
  {
    int type; // SF_STR_*
    std::string value;
  };
  struct Chunk
  {
    std::string id; // four characters
    std::vector<char> data;
  };

  int major = 0; // the input's major format (SF_FORMAT_WAV ...)
  std::vector<Text> texts;
  std::vector<SF_CUE_POINT> cues; // positions in frames, names from labels
  std::vector<char> broadcast;    // an SF_BROADCAST_INFO_VAR, empty when none
  std::vector<char> cart;         // an SF_CART_INFO_VAR, empty when none
  bool hasInstrument = false;
  SF_INSTRUMENT instrument{};
  std::vector<int> channelMap; // SF_CHANNEL_MAP_*, empty when none
  // WAV chunks no libsndfile call carries (iXML, axml, LIST lists, ...).
  std::vector<Chunk> chunks;
  // What the input holds that no output can get through libsndfile
  // (Vorbis comments it does not map, FLAC pictures, INFO fields).
  std::vector<std::string> lost;
};

// Everything of the above in an open input. path is the file itself (a FLAC
// file's comment block is read from it directly). [any]
AudioMetadata ReadMetadata(SNDFILE* in, const std::string& path);

// Puts into out (opened for writing, nothing written yet, of major format
// outMajor) what it can hold; returns short names of what it could not
// ("cue points", "bext", "iXML chunk", ...). [any]
std::vector<std::string> WriteMetadata(SNDFILE* out, int outMajor, const AudioMetadata& meta);

// The names as one list: "a, b and c".
std::string JoinNames(const std::vector<std::string>& names);
} // namespace aaxtool
