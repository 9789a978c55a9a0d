#include "AudioFile.h"

#include "Signals.h"
#include "ToolError.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

namespace aaxtool
{
namespace
{
struct Named
{
  const char* name;
  int value;
};

const Named kFormats[] = {
    {"wav", SF_FORMAT_WAV},   {"aiff", SF_FORMAT_AIFF}, {"flac", SF_FORMAT_FLAC},
    {"ogg", SF_FORMAT_OGG},   {"caf", SF_FORMAT_CAF},   {"w64", SF_FORMAT_W64},
    {"rf64", SF_FORMAT_RF64}, {"au", SF_FORMAT_AU},     {"raw", SF_FORMAT_RAW},
};

const Named kExtensions[] = {
    {"wav", SF_FORMAT_WAV},   {"aif", SF_FORMAT_AIFF},  {"aiff", SF_FORMAT_AIFF},
    {"flac", SF_FORMAT_FLAC}, {"ogg", SF_FORMAT_OGG},   {"caf", SF_FORMAT_CAF},
    {"w64", SF_FORMAT_W64},   {"rf64", SF_FORMAT_RF64}, {"au", SF_FORMAT_AU},
    {"snd", SF_FORMAT_AU},    {"raw", SF_FORMAT_RAW},
};

const Named kSubtypes[] = {
    {"pcm8", SF_FORMAT_PCM_S8},   {"pcmu8", SF_FORMAT_PCM_U8}, {"pcm16", SF_FORMAT_PCM_16},
    {"pcm24", SF_FORMAT_PCM_24},  {"pcm32", SF_FORMAT_PCM_32}, {"float", SF_FORMAT_FLOAT},
    {"double", SF_FORMAT_DOUBLE}, {"ulaw", SF_FORMAT_ULAW},    {"alaw", SF_FORMAT_ALAW},
    {"vorbis", SF_FORMAT_VORBIS},
};

template <size_t N> int Find(const Named (&table)[N], const std::string& name)
{
  for (const Named& n : table)
    if (name == n.name) return n.value;
  return 0;
}

template <size_t N> std::string Names(const Named (&table)[N])
{
  std::string out;
  for (const Named& n : table)
    out += (out.empty() ? "" : ", ") + std::string(n.name);
  return out;
}

template <size_t N> std::string NameOf(const Named (&table)[N], int value)
{
  for (const Named& n : table)
    if (n.value == value) return n.name;
  return "?";
}

std::string Folder(const std::string& path)
{
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}
} // namespace

AudioReader::AudioReader(const std::string& path) : mPath(path)
{
  struct stat st;
  if (stat(path.c_str(), &st) != 0) Fail(path + ": " + std::strerror(errno));
  if (S_ISDIR(st.st_mode)) Fail(path + ": is a folder, not an audio file");
  SF_INFO info{};
  mFile = sf_open(path.c_str(), SFM_READ, &info);
  if (!mFile) Fail(path + ": not a readable audio file (" + sf_strerror(nullptr) + ")");
  mFormat.channels = info.channels;
  mFormat.sampleRate = info.samplerate;
  mFormat.frames = info.frames;
  mFormat.format = info.format;
}

AudioReader::~AudioReader()
{
  if (mFile) sf_close(mFile);
}

int64_t AudioReader::Read(float* interleaved, int64_t frames)
{
  const sf_count_t got = sf_readf_float(mFile, interleaved, frames);
  if (got < frames && sf_error(mFile) != SF_ERR_NO_ERROR)
    Fail(mPath + ": read error (" + sf_strerror(mFile) + ")");
  return got;
}

AudioWriter::AudioWriter(const std::string& path, const AudioFormat& format) : mPath(path)
{
  SF_INFO info{};
  info.channels = format.channels;
  info.samplerate = format.sampleRate;
  info.format = format.format;
  if (!sf_format_check(&info))
    Fail(path + ": " + FormatName(format.format & SF_FORMAT_TYPEMASK) + " cannot hold " +
         SubtypeName(format.format & SF_FORMAT_SUBMASK) + " samples with " +
         std::to_string(format.channels) + " channels at " + std::to_string(format.sampleRate) +
         " Hz");
  const int fd = CreateTemporaryFile(path, &mTemp);
  if (fd < 0) Fail(Folder(path) + ": cannot write there (" + std::strerror(errno) + ")");
  // sf_open_fd with close_desc: libsndfile owns the descriptor from here.
  mFile = sf_open_fd(fd, SFM_WRITE, &info, SF_TRUE);
  if (!mFile)
  {
    const std::string why = sf_strerror(nullptr);
    unlink(mTemp.c_str());
    ForgetTemporaryFile(mTemp);
    mTemp.clear();
    Fail(path + ": cannot write this format (" + why + ")");
  }
  // Float data written to integer subtypes is clipped, not wrapped.
  sf_command(mFile, SFC_SET_CLIPPING, nullptr, SF_TRUE);
}

AudioWriter::~AudioWriter()
{
  if (mFile) sf_close(mFile);
  if (mTemp.empty()) return;
  unlink(mTemp.c_str());
  ForgetTemporaryFile(mTemp);
}

void AudioWriter::Write(const float* interleaved, int64_t frames)
{
  if (sf_writef_float(mFile, interleaved, frames) != frames)
    Fail(mPath + ": write failed (" + sf_strerror(mFile) + ")");
}

void AudioWriter::Commit()
{
  const int err = sf_close(mFile);
  mFile = nullptr;
  if (err != 0) Fail(mPath + ": write failed (" + sf_error_number(err) + ")");
  if (rename(mTemp.c_str(), mPath.c_str()) != 0)
    Fail(mPath + ": cannot replace (" + std::strerror(errno) + ")");
  ForgetTemporaryFile(mTemp);
  mTemp.clear();
}

int FormatFromName(const std::string& name) { return Find(kFormats, name); }
int SubtypeFromName(const std::string& name) { return Find(kSubtypes, name); }
std::string FormatNames() { return Names(kFormats); }
std::string SubtypeNames() { return Names(kSubtypes); }
std::string FormatName(int format) { return NameOf(kFormats, format); }
std::string SubtypeName(int format) { return NameOf(kSubtypes, format); }

int FormatFromExtension(const std::string& path)
{
  const size_t dot = path.rfind('.');
  const size_t slash = path.rfind('/');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return 0;
  std::string ext = path.substr(dot + 1);
  for (char& c : ext)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return Find(kExtensions, ext);
}

bool SameFile(const std::string& a, const std::string& b)
{
  struct stat sa, sb;
  return stat(a.c_str(), &sa) == 0 && stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
         sa.st_ino == sb.st_ino;
}
} // namespace aaxtool
