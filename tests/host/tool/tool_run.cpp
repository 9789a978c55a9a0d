#include "tool_run.h"

#include <dirent.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

const std::string kBundle = QV_QUORVANE_BUNDLE;

namespace
{
std::string Quote(const std::string& s)
{
  std::string out = "'";
  for (char c : s)
    out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

// Never destroyed, so the removal at exit still knows the path.
const std::string& Base()
{
  static const std::string* base = []
  {
    char tmpl[] = "/tmp/aaxhost_tool_test.XXXXXX";
    auto* dir = new std::string(mkdtemp(tmpl));
    std::atexit([] { (void)!std::system(("rm -rf " + Quote(Base())).c_str()); });
    return dir;
  }();
  return *base;
}
} // namespace

std::string Slurp(const std::string& path)
{
  std::ifstream f(path, std::ios::binary);
  std::ostringstream s;
  s << f.rdbuf();
  return s.str();
}

bool Exists(const std::string& path)
{
  struct stat st;
  return stat(path.c_str(), &st) == 0;
}

std::vector<std::string> Entries(const std::string& folder)
{
  std::vector<std::string> out;
  if (DIR* d = opendir(folder.c_str()))
  {
    while (dirent* e = readdir(d))
      if (std::string(e->d_name) != "." && std::string(e->d_name) != "..") out.push_back(e->d_name);
    closedir(d);
  }
  return out;
}

std::string TempFolder()
{
  static int n = 0;
  const std::string dir = Base() + "/" + std::to_string(++n);
  mkdir(dir.c_str(), 0755);
  return dir;
}

RunResult Aaxhost(const std::vector<std::string>& args)
{
  const std::string dir = TempFolder();
  std::string cmd = "env -u DISPLAY " + Quote(QV_AAXHOST);
  for (const std::string& a : args)
    cmd += " " + Quote(a);
  cmd += " >" + dir + "/out 2>" + dir + "/err </dev/null";
  RunResult r;
  const int status = std::system(cmd.c_str());
  r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  r.out = Slurp(dir + "/out");
  r.err = Slurp(dir + "/err");
  return r;
}

RunResult Shell(const std::string& dir, const std::string& line)
{
  const std::string logs = TempFolder();
  const std::string cmd = "cd " + Quote(dir) + " && AAXHOST=" + Quote(QV_AAXHOST) +
                          " BUNDLE=" + Quote(kBundle) + " sh -c " + Quote(line) + " >" + logs +
                          "/out 2>" + logs + "/err </dev/null";
  RunResult r;
  const int status = std::system(cmd.c_str());
  r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  r.out = Slurp(logs + "/out");
  r.err = Slurp(logs + "/err");
  return r;
}

void WriteAudio(const std::string& path, const Audio& a, int format)
{
  SF_INFO info{};
  info.channels = a.channels;
  info.samplerate = a.rate;
  info.format = format;
  SNDFILE* f = sf_open(path.c_str(), SFM_WRITE, &info);
  if (!f) throw std::runtime_error("cannot write " + path);
  // As the tool writes: floats beyond full scale clip.
  sf_command(f, SFC_SET_CLIPPING, nullptr, SF_TRUE);
  sf_writef_float(f, a.samples.data(), sf_count_t(a.Frames()));
  sf_close(f);
}

Audio ReadAudio(const std::string& path)
{
  SF_INFO info{};
  SNDFILE* f = sf_open(path.c_str(), SFM_READ, &info);
  Audio a;
  if (!f) return a;
  a.channels = info.channels;
  a.rate = info.samplerate;
  a.samples.resize(size_t(info.frames) * size_t(info.channels));
  sf_readf_float(f, a.samples.data(), info.frames);
  sf_close(f);
  return a;
}

Audio TestStereo(size_t frames, int rate)
{
  Audio a;
  a.rate = rate;
  for (size_t i = 0; i < frames; ++i)
  {
    a.samples.push_back(float(int((i * 37) % 2000) - 1000) / 32768.0f);
    a.samples.push_back(float(int((i * 53) % 3000) - 1499) / 32768.0f * 2.0f + 1.0f / 32768.0f);
  }
  return a;
}
