#include "AudioFile.h"

#include "AudioHeader.h"
#include "Signals.h"
#include "ToolError.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
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
    {"mp3", SF_FORMAT_MPEG},
};

const Named kExtensions[] = {
    {"wav", SF_FORMAT_WAV},   {"aif", SF_FORMAT_AIFF},  {"aiff", SF_FORMAT_AIFF},
    {"flac", SF_FORMAT_FLAC}, {"ogg", SF_FORMAT_OGG},   {"caf", SF_FORMAT_CAF},
    {"w64", SF_FORMAT_W64},   {"rf64", SF_FORMAT_RF64}, {"au", SF_FORMAT_AU},
    {"snd", SF_FORMAT_AU},    {"raw", SF_FORMAT_RAW},   {"mp3", SF_FORMAT_MPEG},
};

const Named kSubtypes[] = {
    {"pcm8", SF_FORMAT_PCM_S8},   {"pcmu8", SF_FORMAT_PCM_U8}, {"pcm16", SF_FORMAT_PCM_16},
    {"pcm24", SF_FORMAT_PCM_24},  {"pcm32", SF_FORMAT_PCM_32}, {"float", SF_FORMAT_FLOAT},
    {"double", SF_FORMAT_DOUBLE}, {"ulaw", SF_FORMAT_ULAW},    {"alaw", SF_FORMAT_ALAW},
    {"vorbis", SF_FORMAT_VORBIS}, {"opus", SF_FORMAT_OPUS},    {"mp3", SF_FORMAT_MPEG_LAYER_III},
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

// A file no one else can see, removed when its last descriptor closes.
int AnonymousFile()
{
  const char* dir = std::getenv("TMPDIR");
  const std::string folder = dir && *dir ? dir : "/tmp";
  int fd = open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
  if (fd < 0)
  {
    std::string pattern = folder + "/aaxhost.XXXXXX";
    fd = mkostemp(pattern.data(), O_CLOEXEC);
    if (fd >= 0) unlink(pattern.c_str());
  }
  if (fd < 0) Fail(folder + ": cannot make a temporary file (" + std::strerror(errno) + ")");
  return fd;
}

// Copies everything from one descriptor to another.
bool CopyAll(int from, int to)
{
  std::vector<char> buf(1 << 16);
  for (;;)
  {
    const ssize_t n = read(from, buf.data(), buf.size());
    if (n == 0) return true;
    if (n < 0)
    {
      if (errno == EINTR) continue;
      return false;
    }
    for (ssize_t done = 0; done < n;)
    {
      const ssize_t w = write(to, buf.data() + done, static_cast<size_t>(n - done));
      if (w < 0 && errno != EINTR) return false;
      if (w > 0) done += w;
    }
  }
}

// Standard input as a path libsndfile can open (twice: the length is read
// before the render): itself when it is a file, else a copy of it.
std::string StandardInputPath()
{
  static std::string path;
  if (!path.empty()) return path;
  struct stat st;
  int fd = 0;
  if (fstat(0, &st) != 0 || !S_ISREG(st.st_mode))
  {
    fd = AnonymousFile();
    if (!CopyAll(0, fd)) Fail(std::string("standard input: ") + std::strerror(errno));
  }
  path = "/proc/self/fd/" + std::to_string(fd);
  return path;
}

uint32_t Get32(const unsigned char* p, bool big)
{
  return big ? (uint32_t(p[0]) << 24) | (p[1] << 16) | (p[2] << 8) | p[3]
             : (uint32_t(p[3]) << 24) | (p[2] << 16) | (p[1] << 8) | p[0];
}

// After libsndfile closed the file (at offset 0 of fd): the PEAK chunk's
// time stamp, the one thing that differs between identical renders where
// libsndfile keeps the chunk, zeroed; and with plainFloat an extensible fmt
// chunk of float samples rewritten in the plain form with its cbSize, as
// sox expects of float WAV, followed by a PAD chunk in the bytes it frees
// (the data does not move).
void SettleHeader(int fd, bool plainFloat)
{
  unsigned char head[12];
  if (pread(fd, head, 12, 0) != 12) return;
  const bool big = std::memcmp(head, "FORM", 4) == 0;
  if (!big && std::memcmp(head, "RIFF", 4) != 0 && std::memcmp(head, "RF64", 4) != 0) return;
  for (off_t at = 12;;)
  {
    unsigned char c[8];
    if (pread(fd, c, 8, at) != 8) return;
    const uint32_t size = Get32(c + 4, big);
    if (std::memcmp(c, "data", 4) == 0 || std::memcmp(c, "SSND", 4) == 0) return;
    if (std::memcmp(c, "PEAK", 4) == 0 && size >= 8)
    {
      const unsigned char zero[4] = {0, 0, 0, 0};
      if (pwrite(fd, zero, 4, at + 12) != 4) return;
    }
    if (std::memcmp(c, "fmt ", 4) == 0 && plainFloat && size == 40)
    {
      unsigned char f[40];
      if (pread(fd, f, 40, at + 8) != 40 || f[0] != 0xfe || f[1] != 0xff || f[24] != 3 ||
          f[25] != 0)
        return;
      unsigned char plain[48] = {'f', 'm', 't', ' ', 18, 0, 0, 0};
      std::memcpy(plain + 8, f, 16);
      plain[8] = 3; // WAVE_FORMAT_IEEE_FLOAT
      plain[9] = 0;
      // cbSize 0 at 24..25, then "PAD " with the 14 bytes left.
      std::memcpy(plain + 26, "PAD ", 4);
      plain[30] = 14;
      if (pwrite(fd, plain, 48, at) != 48) return;
    }
    at += 8 + static_cast<off_t>(size) + (size & 1);
  }
}

// Formats libsndfile writes whole to a pipe: no header to go back to. (It
// accepts FLAC too, but that stream does not decode.)
bool Streams(int major) { return major == SF_FORMAT_AU || major == SF_FORMAT_RAW; }
} // namespace

AudioReader::AudioReader(const std::string& path)
    : mPath(path), mName(path == "-" ? "standard input" : path)
{
  const std::string file = path == "-" ? StandardInputPath() : path;
  struct stat st;
  if (stat(file.c_str(), &st) != 0) Fail(path + ": " + std::strerror(errno));
  if (S_ISDIR(st.st_mode)) Fail(path + ": is a folder, not an audio file");
  SF_INFO info{};
  mFile = sf_open(file.c_str(), SFM_READ, &info);
  if (!mFile) Fail(mName + ": not a readable audio file (" + sf_strerror(nullptr) + ")");
  mFormat.channels = info.channels;
  mFormat.sampleRate = info.samplerate;
  mFormat.frames = info.frames;
  mFormat.format = info.format;
  const HeaderCheck check = CheckHeader(mFile, info);
  if (!check.refusal.empty())
  {
    sf_close(mFile);
    mFile = nullptr;
    Fail(mName + ": " + check.refusal);
  }
  mMissing = check.missingFrames;
  mMeta = ReadMetadata(mFile, file);
}

AudioReader::~AudioReader()
{
  if (mFile) sf_close(mFile);
}

int64_t AudioReader::Read(float* interleaved, int64_t frames)
{
  const sf_count_t got = sf_readf_float(mFile, interleaved, frames);
  if (got < frames && sf_error(mFile) != SF_ERR_NO_ERROR)
    Fail(mName + ": read error (" + sf_strerror(mFile) + ")");
  return got;
}

AudioWriter::AudioWriter(const std::string& path, const AudioFormat& format,
                         const AudioMetadata* meta)
    : mPath(path)
{
  SF_INFO info{};
  info.channels = format.channels;
  info.samplerate = format.sampleRate;
  info.format = format.format;
  // libsndfile writes float WAV with a 16-byte fmt chunk, which sox warns
  // about ("missing extended part"); the extensible form carries the size.
  const int sub = info.format & SF_FORMAT_SUBMASK;
  if ((info.format & SF_FORMAT_TYPEMASK) == SF_FORMAT_WAV &&
      (sub == SF_FORMAT_FLOAT || sub == SF_FORMAT_DOUBLE))
    info.format = SF_FORMAT_WAVEX | sub;
  mPlainFloat = (info.format & SF_FORMAT_TYPEMASK) == SF_FORMAT_WAVEX &&
                (format.format & SF_FORMAT_TYPEMASK) == SF_FORMAT_WAV;
  // Standard output, and a device or FIFO named as the output, are written
  // into: renaming a file onto /dev/null or a FIFO would replace it.
  struct stat target;
  if (path == "-" ||
      (stat(path.c_str(), &target) == 0 && !S_ISREG(target.st_mode) && !S_ISDIR(target.st_mode)))
  {
    OpenStream(info);
    Prepare(info.format & SF_FORMAT_TYPEMASK, meta);
    return;
  }
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
  Prepare(info.format & SF_FORMAT_TYPEMASK, meta);
}

void AudioWriter::Prepare(int major, const AudioMetadata* meta)
{
  // Float data written to integer subtypes is clipped, not wrapped.
  sf_command(mFile, SFC_SET_CLIPPING, nullptr, SF_TRUE);
  sf_command(mFile, SFC_SET_ADD_PEAK_CHUNK, nullptr, SF_FALSE);
  if (meta) mNotKept = WriteMetadata(mFile, major, *meta);
}

AudioWriter::Fd::~Fd()
{
  if (fd >= 0) close(fd);
}

std::string AudioWriter::StreamName() const { return mPath == "-" ? "standard output" : mPath; }

void AudioWriter::OpenStream(SF_INFO& info)
{
  if (!sf_format_check(&info))
    Fail(StreamName() + ": " + FormatName(info.format & SF_FORMAT_TYPEMASK) + " cannot hold " +
         SubtypeName(info.format & SF_FORMAT_SUBMASK) + " samples with " +
         std::to_string(info.channels) + " channels");
  mStream = 1;
  if (mPath != "-")
  {
    mTarget.fd = open(mPath.c_str(), O_WRONLY | O_CLOEXEC);
    if (mTarget.fd < 0) Fail(mPath + ": " + std::strerror(errno));
    mStream = mTarget.fd;
  }
  // A file is written in place, a pipe directly only by formats that need
  // not go back to their header; the others go through a spool.
  const bool seekable = lseek(mStream, 0, SEEK_CUR) >= 0;
  int fd = mStream;
  if (!seekable && !Streams(info.format & SF_FORMAT_TYPEMASK))
  {
    mSpool.fd = AnonymousFile();
    fd = dup(mSpool.fd);
  }
  mFile = sf_open_fd(fd, SFM_WRITE, &info, fd == mStream ? SF_FALSE : SF_TRUE);
  if (!mFile)
  {
    if (fd != mStream) close(fd);
    Fail(StreamName() + ": cannot write (" + sf_strerror(nullptr) + ")");
  }
}

void AudioWriter::CommitStream()
{
  const int err = sf_close(mFile);
  mFile = nullptr;
  if (err != 0) Fail(StreamName() + ": write failed (" + sf_error_number(err) + ")");
  if (mSpool.fd >= 0)
    SettleHeader(mSpool.fd, mPlainFloat);
  else if (const int fd =
               open(("/proc/self/fd/" + std::to_string(mStream)).c_str(), O_RDWR | O_CLOEXEC);
           fd >= 0)
    SettleHeader(fd, mPlainFloat), close(fd); // the stream may be write-only
  if (mSpool.fd >= 0 && (lseek(mSpool.fd, 0, SEEK_SET) != 0 || !CopyAll(mSpool.fd, mStream)))
    Fail(StreamName() + ": write failed (" + std::strerror(errno) + ")");
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
    Fail(StreamName() + ": write failed (" + sf_strerror(mFile) + ")");
}

void AudioWriter::Commit()
{
  if (mStream >= 0) return CommitStream();
  const int err = sf_close(mFile);
  mFile = nullptr;
  if (const int fd = err == 0 ? open(mTemp.c_str(), O_RDWR | O_CLOEXEC) : -1; fd >= 0)
    SettleHeader(fd, mPlainFloat), close(fd);
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
std::string ExtensionNames() { return Names(kExtensions); }
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
