// Chunk files: a plug-in's state chunk with a small header naming the chunk
// identifier, so a file saved from another plug-in is refused.
//
//   0   8  "aaxchunk"
//   8   4  chunk identifier, its four characters in order ('ln0p' as l n 0 p)
//   12  4  chunk version, little-endian
//   16  4  data size n, little-endian
//   20  32 chunk name, NUL-padded
//   52  n  the chunk's data area
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace aaxtool
{
struct ChunkFile
{
  uint32_t chunkID = 0;
  int32_t version = 0;
  std::string name;
  std::vector<char> data;
};

constexpr size_t kChunkFileHeaderSize = 52;

// Writes through a temporary file in the same folder, renamed on success. [any]
void SaveChunkFile(const std::string& path, const ChunkFile& chunk);
// Fails naming the file when it is missing, short, not a chunk file or its
// size field disagrees with its length. [any]
ChunkFile LoadChunkFile(const std::string& path);
} // namespace aaxtool
