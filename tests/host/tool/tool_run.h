// Running the built aaxhost through its real command line on files the test
// writes, and reading what it wrote.
#pragma once

#include <sndfile.h>

#include <string>
#include <vector>

struct RunResult
{
  int status = -1;
  std::string out, err;
};

// Runs the tool with args (shell-quoted here) and DISPLAY unset unless keepDisplay.
RunResult Aaxhost(const std::vector<std::string>& args);

// Runs a shell command line in folder dir, with AAXHOST and BUNDLE set to the
// tool and the module under test (for pipes and other programs' files).
RunResult Shell(const std::string& dir, const std::string& line);

// A fresh folder under the test's temporary directory, removed at exit.
std::string TempFolder();

// Interleaved float audio.
struct Audio
{
  int channels = 2, rate = 48000;
  std::vector<float> samples;
  size_t Frames() const { return samples.size() / size_t(channels); }
};

void WriteAudio(const std::string& path, const Audio& audio, int format);
Audio ReadAudio(const std::string& path);
// Distinct channels: left and right differ at every frame, with values a
// 16-bit file holds exactly (multiples of 1/32768).
Audio TestStereo(size_t frames, int rate = 48000);
std::string Slurp(const std::string& path);
bool Exists(const std::string& path);
// Every entry of folder (hidden ones too).
std::vector<std::string> Entries(const std::string& folder);

extern const std::string kBundle;
