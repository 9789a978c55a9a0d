// Audio files through libsndfile: reading in blocks of interleaved float,
// writing to a temporary file in the target folder that only replaces the
// target when the render succeeded, and the names of formats and subtypes.
// "-" is standard input or output, as sox takes it.
#pragma once

#include "AudioMetadata.h"

#include <sndfile.h>

#include <cstdint>
#include <string>
#include <vector>

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
  // Fails with a line naming the file and libsndfile's reason, or why the
  // header cannot be trusted. "-" reads standard input (kept in a
  // temporary file, so it can be opened again). [any]
  explicit AudioReader(const std::string& path);
  ~AudioReader();
  AudioReader(const AudioReader&) = delete;
  AudioReader& operator=(const AudioReader&) = delete;

  const AudioFormat& Format() const { return mFormat; }
  const std::string& Path() const { return mPath; }
  // The file for messages: its path, or "standard input".
  const std::string& Name() const { return mName; }
  // Frames the header claims beyond the end of the file (read as far as it
  // goes).
  int64_t MissingFrames() const { return mMissing; }
  // Text fields, cues, chunks: what an output may carry.
  const AudioMetadata& Metadata() const { return mMeta; }
  // Up to frames frames, interleaved; fewer only at the end. A read error
  // (a truncated or corrupt file) fails naming the file.
  int64_t Read(float* interleaved, int64_t frames);

private:
  std::string mPath, mName;
  SNDFILE* mFile = nullptr;
  AudioFormat mFormat;
  int64_t mMissing = 0;
  AudioMetadata mMeta;
};

class AudioWriter
{
public:
  // Opens a hidden temporary file next to path; the target itself is not
  // touched until Commit. Fails naming the folder or the format. meta, when
  // given, is carried as far as the format allows (see NotKept). Float WAV
  // gets the 18-byte fmt chunk with cbSize that readers such as sox expect,
  // and no PEAK chunk (or one with a zero time stamp where libsndfile keeps
  // it), so identical renders are identical files. "-" is standard output: written directly
  // when it is a file or the format streams (au, raw), else
  // kept in a temporary file and sent on Commit. So is a device or FIFO
  // named as path (/dev/null, a named pipe): it is written into, not replaced.
  AudioWriter(const std::string& path, const AudioFormat& format,
              const AudioMetadata* meta = nullptr);
  // Without Commit, removes the temporary file (nothing is left behind).
  ~AudioWriter();
  AudioWriter(const AudioWriter&) = delete;
  AudioWriter& operator=(const AudioWriter&) = delete;

  void Write(const float* interleaved, int64_t frames);
  // Closes and renames the temporary file onto the target.
  void Commit();
  // What of meta the format could not hold ("cue points", "iXML chunk").
  const std::vector<std::string>& NotKept() const { return mNotKept; }

private:
  // Standard output, or a device or FIFO, when it is the target.
  void OpenStream(SF_INFO& info);
  void CommitStream();
  std::string StreamName() const;
  void Prepare(int major, const AudioMetadata* meta);

  // A descriptor closed with its owner (the spool behind standard output).
  struct Fd
  {
    int fd = -1;
    ~Fd();
  };

  std::string mPath, mTemp;
  SNDFILE* mFile = nullptr;
  Fd mSpool, mTarget;
  int mStream = -1;         // the descriptor written into, when not a new file
  bool mPlainFloat = false; // written extensible, settled as plain float
  std::vector<std::string> mNotKept;
};

// "wav" -> SF_FORMAT_WAV ...; 0 when unknown.
int FormatFromName(const std::string& name);
// "pcm16" -> SF_FORMAT_PCM_16 ...; 0 when unknown.
int SubtypeFromName(const std::string& name);
// The names accepted, for help texts: "wav, flac, ...".
std::string FormatNames();
std::string SubtypeNames();
std::string ExtensionNames();
// The major format a file name's extension asks for, or 0.
int FormatFromExtension(const std::string& path);
// The name of a major format or subtype, "?" when not ours.
std::string FormatName(int format);
std::string SubtypeName(int format);
// True when both paths name the same existing file (same device and inode).
bool SameFile(const std::string& a, const std::string& b);
} // namespace aaxtool
