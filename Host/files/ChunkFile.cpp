#include "ChunkFile.h"

#include "Paths.h"
#include "Signals.h"
#include "ToolError.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

namespace aaxtool
{
namespace
{
const char kMagic[8] = {'a', 'a', 'x', 'c', 'h', 'u', 'n', 'k'};

void PutLE(std::string& out, uint32_t v)
{
  for (int i = 0; i < 4; ++i)
    out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

uint32_t GetLE(const unsigned char* p)
{
  return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}
} // namespace

void SaveChunkFile(const std::string& path, const ChunkFile& chunk)
{
  std::string out(kMagic, kMagic + 8);
  for (int i = 3; i >= 0; --i)
    out.push_back(static_cast<char>((chunk.chunkID >> (8 * i)) & 0xFF));
  PutLE(out, static_cast<uint32_t>(chunk.version));
  PutLE(out, static_cast<uint32_t>(chunk.data.size()));
  std::string name = chunk.name.substr(0, 31);
  name.resize(32, '\0');
  out += name;
  out.append(chunk.data.begin(), chunk.data.end());

  std::string temp;
  const int fd = CreateTemporaryFile(path, &temp);
  if (fd < 0) Fail(path + ": cannot write (" + std::strerror(errno) + ")");
  size_t done = 0;
  while (done < out.size())
  {
    const ssize_t n = write(fd, out.data() + done, out.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<size_t>(n);
  }
  const int writeErr = errno;
  if (close(fd) != 0 || done != out.size())
  {
    unlink(temp.c_str());
    ForgetTemporaryFile(temp);
    Fail(path + ": write failed (" + std::strerror(writeErr) + ")");
  }
  if (std::rename(temp.c_str(), path.c_str()) != 0)
  {
    const int err = errno;
    unlink(temp.c_str());
    ForgetTemporaryFile(temp);
    Fail(path + ": cannot replace (" + std::strerror(err) + ")");
  }
  ForgetTemporaryFile(temp);
}

ChunkFile LoadChunkFile(const std::string& path)
{
  RequireInputFile(path);
  std::ifstream f(path, std::ios::binary);
  if (!f) Fail(path + ": " + std::strerror(errno));
  const std::string bytes((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
  if (bytes.size() < kChunkFileHeaderSize || std::memcmp(bytes.data(), kMagic, 8) != 0)
    Fail(path + ": not a chunk file (no \"aaxchunk\" header)");
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  ChunkFile chunk;
  chunk.chunkID = (uint32_t(p[8]) << 24) | (uint32_t(p[9]) << 16) | (uint32_t(p[10]) << 8) | p[11];
  chunk.version = static_cast<int32_t>(GetLE(p + 12));
  const uint32_t size = GetLE(p + 16);
  if (size != bytes.size() - kChunkFileHeaderSize)
    Fail(path + ": damaged chunk file (header says " + std::to_string(size) + " bytes of data, " +
         std::to_string(bytes.size() - kChunkFileHeaderSize) + " follow)");
  chunk.name.assign(bytes.data() + 20, strnlen(bytes.data() + 20, 32));
  chunk.data.assign(bytes.begin() + kChunkFileHeaderSize, bytes.end());
  return chunk;
}
} // namespace aaxtool
