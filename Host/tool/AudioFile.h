// Audio files through libsndfile: reading in blocks of interleaved float,
// writing to a temporary file in the target folder that only replaces the
// target when the render succeeded, and the names of formats and subtypes.
#pragma once

#include <sndfile.h>

#include <cstdint>
#include <string>

namespace aaxtool
{
struct AudioFormat
{
  int channels = 0;
  int sampleRate = 0;
  int64_t frames = 0;
  int format = 0; // libsndfile's major format | subtype
};

class AudioReader
{
public:
  // Fails with a line naming the file and libsndfile's reason. [any]
  explicit AudioReader(const std::string& path);
  ~AudioReader();
  AudioReader(const AudioReader&) = delete;
  AudioReader& operator=(const AudioReader&) = delete;

  const AudioFormat& Format() const { return mFormat; }
  const std::string& Path() const { return mPath; }
  // Up to frames frames, interleaved; fewer only at the end. A read error
  // (a truncated or corrupt file) fails naming the file.
  int64_t Read(float* interleaved, int64_t frames);

private:
  std::string mPath;
  SNDFILE* mFile = nullptr;
  AudioFormat mFormat;
};

class AudioWriter
{
public:
  // Opens a hidden temporary file next to path; the target itself is not
  // touched until Commit. Fails naming the folder or the format.
  AudioWriter(const std::string& path, const AudioFormat& format);
  // Without Commit, removes the temporary file (nothing is left behind).
  ~AudioWriter();
  AudioWriter(const AudioWriter&) = delete;
  AudioWriter& operator=(const AudioWriter&) = delete;

  void Write(const float* interleaved, int64_t frames);
  // Closes and renames the temporary file onto the target.
  void Commit();

private:
  std::string mPath, mTemp;
  SNDFILE* mFile = nullptr;
};

// "wav" -> SF_FORMAT_WAV ...; 0 when unknown.
int FormatFromName(const std::string& name);
// "pcm16" -> SF_FORMAT_PCM_16 ...; 0 when unknown.
int SubtypeFromName(const std::string& name);
// The names accepted, for help texts: "wav, flac, ...".
std::string FormatNames();
std::string SubtypeNames();
// The major format a file name's extension asks for, or 0.
int FormatFromExtension(const std::string& path);
// The name of a major format or subtype, "?" when not ours.
std::string FormatName(int format);
std::string SubtypeName(int format);
// True when both paths name the same existing file (same device and inode).
bool SameFile(const std::string& a, const std::string& b);
} // namespace aaxtool
