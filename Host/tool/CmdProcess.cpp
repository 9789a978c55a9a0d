// aaxhost process: audio files through the plug-in, block by block, with
// parameter values, presets, automation split at its change points, states
// and latency compensation.

#include "AudioFile.h"
#include "Automation.h"
#include "Commands.h"
#include "HostedPlugin.h"
#include "Paths.h"
#include "Progress.h"
#include "ToolError.h"
#include "WriteBehind.h"

#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

namespace aaxtool
{
namespace
{
constexpr int kMaxCallFrames = 1024;

struct Job
{
  std::string input, output;
  std::vector<std::string> warnings; // "warning: ..." lines, printed after the run
};

// A parameter change at a frame, resolved and parsed.
struct Change
{
  int64_t frame;
  std::string id;
  double value;
};

std::string BaseName(const std::string& path)
{
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The output's format: --format, else the output name's extension, else the
// input's; the sample type: --subtype, else the input's when the format can
// hold it, else the format's usual one.
int OutputFormat(const ProcessOptions& o, const AudioFormat& in, const std::string& output)
{
  const int inMajor = in.format & SF_FORMAT_TYPEMASK;
  int major = inMajor;
  if (!o.format.empty())
    major = FormatFromName(o.format);
  else if (int ext = FormatFromExtension(output))
    major = ext;
  // A .wav name keeps the input's extensible or RF64 header.
  if (major == SF_FORMAT_WAV && (inMajor == SF_FORMAT_WAVEX || inMajor == SF_FORMAT_RF64) &&
      o.format.empty())
    major = inMajor;
  int sub = o.subtype.empty() ? in.format & SF_FORMAT_SUBMASK : SubtypeFromName(o.subtype);
  SF_INFO probe{};
  probe.channels = in.channels;
  probe.samplerate = in.sampleRate;
  probe.format = major | sub;
  if (o.subtype.empty() && !sf_format_check(&probe))
  {
    for (int fallback : {SF_FORMAT_PCM_24, SF_FORMAT_FLOAT, SF_FORMAT_PCM_16, SF_FORMAT_VORBIS,
                         SF_FORMAT_MPEG_LAYER_III})
    {
      probe.format = major | fallback;
      if (sf_format_check(&probe)) return probe.format;
    }
  }
  return major | sub;
}

// Interleaved frames to one buffer per channel and back; stereo, the usual
// case, in a form the compiler vectorises.
void Deinterleave(const float* src, const std::vector<float*>& dst, int64_t n)
{
  if (dst.size() == 2)
  {
    float* __restrict l = dst[0];
    float* __restrict r = dst[1];
    for (int64_t f = 0; f < n; ++f)
    {
      l[f] = src[2 * f];
      r[f] = src[2 * f + 1];
    }
    return;
  }
  const size_t ch = dst.size();
  for (size_t c = 0; c < ch; ++c)
    for (int64_t f = 0; f < n; ++f)
      dst[c][f] = src[size_t(f) * ch + c];
}

void Interleave(const std::vector<float*>& src, float* dst, int64_t n)
{
  if (src.size() == 2)
  {
    const float* __restrict l = src[0];
    const float* __restrict r = src[1];
    for (int64_t f = 0; f < n; ++f)
    {
      dst[2 * f] = l[f];
      dst[2 * f + 1] = r[f];
    }
    return;
  }
  const size_t ch = src.size();
  for (size_t c = 0; c < ch; ++c)
    for (int64_t f = 0; f < n; ++f)
      dst[size_t(f) * ch + c] = src[c][f];
}

std::vector<Change> ResolveChanges(const HostedPlugin& plug,
                                   const std::vector<AutomationLane>& lanes, const Job& job,
                                   int64_t frames, std::vector<std::string>& warnings)
{
  std::vector<Change> changes;
  for (const AutomationLane& lane : lanes)
  {
    std::string id;
    try
    {
      id = plug.Resolve(lane.key);
    }
    catch (const ToolError& e)
    {
      Fail(lane.points.empty()
               ? std::string(e.what())
               : lane.points.front().where.substr(0, lane.points.front().where.rfind(" point")) +
                     ": " + e.what());
    }
    for (const AutomationPoint& p : lane.points)
    {
      // A value the file gets wrong is the file's failure, as its syntax is.
      double value = 0.0;
      try
      {
        value = plug.ParseValue(id, p.value, p.where);
      }
      catch (const ToolError& e)
      {
        Fail(e.what());
      }
      changes.push_back({p.frame, id, value});
      if (p.frame >= frames)
        warnings.push_back("warning: " + p.where + " at frame " + std::to_string(p.frame) +
                           " is past the end of " + job.input + " (" + std::to_string(frames) +
                           " frames): it changes nothing");
    }
  }
  std::stable_sort(changes.begin(), changes.end(),
                   [](const Change& a, const Change& b) { return a.frame < b.frame; });
  return changes;
}

void CheckChannels(const std::string& input, int channels, int inputs)
{
  if (channels != inputs)
    Fail(input + ": has " + std::to_string(channels) + " channel" + (channels == 1 ? "" : "s") +
         ", the plug-in takes " + std::to_string(inputs) + " input channel" +
         (inputs == 1 ? "" : "s"));
}

class Renderer
{
public:
  Renderer(const ProcessOptions& o, const PluginType& type, Progress* progress)
      : mOptions(o), mType(type), mProgress(progress)
  {
  }

  // Renders one file; the output appears only when everything succeeded.
  void Run(Job& job)
  {
    AudioReader in(job.input);
    const AudioFormat& fmt = in.Format();
    if (in.MissingFrames() > 0)
      job.warnings.push_back("warning: " + in.Name() + ": cut short: the header claims " +
                             std::to_string(fmt.frames + in.MissingFrames()) +
                             " frames, the file holds " + std::to_string(fmt.frames) + " (" +
                             std::to_string(in.MissingFrames()) +
                             " missing); rendered what it holds");
    CheckChannels(job.input, fmt.channels, mType.Inputs());
    const int block = mOptions.block;
    std::unique_ptr<HostedPlugin> instance = TakeSpare(fmt.sampleRate);
    if (!instance)
    {
      instance = mType.NewInstance(fmt.sampleRate, block);
      Recall(*instance);
    }
    HostedPlugin& plug = *instance;
    std::vector<Change> changes;
    if (!mOptions.automation.empty())
      changes =
          ResolveChanges(plug, LoadAutomation(mOptions.automation, fmt.frames, fmt.sampleRate), job,
                         fmt.frames, job.warnings);

    AudioFormat outFmt = fmt;
    outFmt.channels = mType.Outputs();
    outFmt.format = OutputFormat(mOptions, fmt, job.output);
    // The plug-in renders 32-bit floats; a null test of a finer file against
    // its render must not look like the plug-in's fault. Said once a run.
    const int sub = fmt.format & SF_FORMAT_SUBMASK;
    if ((sub == SF_FORMAT_PCM_32 || sub == SF_FORMAT_DOUBLE) && !mPrecisionNoted.exchange(true))
      job.warnings.push_back(
          "note: processed at 32-bit float precision: " + in.Name() + ": its " +
          (sub == SF_FORMAT_PCM_32
               ? "32-bit integer samples keep their top 24 bits (up to 64 LSB off)"
               : "64-bit float samples are rounded to 24-bit mantissas (within 6e-8 of their "
                 "value)") +
          ", so its render differs from it by that much even with every switch off; the output "
          "keeps its format");
    AudioMetadata meta = in.Metadata();
    if (outFmt.channels != fmt.channels) meta.channelMap.clear();
    AudioWriter out(job.output, outFmt, &meta);
    if (!out.NotKept().empty())
      job.warnings.push_back(
          "warning: " + (job.output == "-" ? std::string("standard output") : job.output) +
          ": not kept from " + in.Name() +
          " (the format cannot hold it): " + JoinNames(out.NotKept()));

    const int64_t latency = mOptions.noLatencyCompensation ? 0 : std::max(0, plug.Latency());
    const int inCh = fmt.channels, outCh = outFmt.channels;
    // Files are read and written in chunks of whole blocks; render calls are
    // at most one block and end early at every change point.
    // No AAX host hands a native plug-in more than 1024 frames per call
    // (plug-ins size their buffers for it), so larger blocks go as several.
    const int callFrames = std::min(block, kMaxCallFrames);
    const int64_t chunk = block * std::max<int64_t>(1, (8192 + block - 1) / block);
    WriteBehind writer(out, outCh, chunk);
    std::vector<float> inStore(static_cast<size_t>(chunk * inCh));
    bool ended = false;
    std::vector<std::vector<float>> inCh_(static_cast<size_t>(inCh), std::vector<float>(block));
    std::vector<std::vector<float>> outCh_(static_cast<size_t>(outCh), std::vector<float>(block));
    std::vector<float*> inPtrs, outPtrs;
    for (auto& v : inCh_)
      inPtrs.push_back(v.data());
    for (auto& v : outCh_)
      outPtrs.push_back(v.data());

    const int64_t total = fmt.frames + latency; // frames rendered
    int64_t pos = 0, skip = latency;
    size_t next = 0;
    while (pos < total)
    {
      const int64_t want = std::min(chunk, total - pos);
      int64_t got = ended ? 0 : in.Read(inStore.data(), want);
      if (got < want)
      {
        ended = true;
        std::fill(inStore.begin() + got * inCh, inStore.begin() + want * inCh, 0.0f);
      }
      const float* inBuf = inStore.data();
      float* outBuf = writer.Next();
      for (int64_t done = 0; done < want;)
      {
        while (next < changes.size() && changes[next].frame <= pos + done)
        {
          plug.Set(changes[next].id, changes[next].value);
          ++next;
        }
        int64_t n = std::min<int64_t>(callFrames, want - done);
        if (next < changes.size()) n = std::min(n, changes[next].frame - (pos + done));
        Deinterleave(inBuf + done * inCh, inPtrs, n);
        for (float* p : outPtrs)
          std::fill(p, p + n, 0.0f);
        plug.Render(inPtrs.data(), outPtrs.data(), static_cast<int32_t>(n));
        Interleave(outPtrs, outBuf + done * outCh, n);
        done += n;
      }
      const int64_t drop = std::min(skip, want);
      skip -= drop;
      writer.Submit(drop, want - drop);
      pos += want;
      if (mProgress)
        mProgress->Advance(std::min(want, std::max<int64_t>(0, fmt.frames - (pos - want))));
    }
    writer.Finish();
    if (!mOptions.saveState.empty()) plug.SaveState(mOptions.saveState);
    out.Commit();
  }

  // As a workstation recalls a session: the state, the preset, then the
  // values.
  void Recall(HostedPlugin& plug) const
  {
    if (!mOptions.state.empty()) plug.LoadState(mOptions.state);
    if (!mOptions.preset.empty()) plug.ApplyPreset(mOptions.preset);
    for (const std::string& a : mOptions.params)
      plug.ApplyAssignment(a);
  }

  // An instance made and recalled at rate, which has rendered nothing: the
  // first file at that rate renders with it. Some plug-ins draw on process-
  // wide state when they are made (mda BeatBox synthesises its drums with
  // rand()), so a second instance would not sound as the first instance of a
  // fresh host does; and making one costs time on large plug-ins.
  void GiveSpare(std::unique_ptr<HostedPlugin> spare, double rate)
  {
    const std::lock_guard<std::mutex> lock(mSpareMutex);
    mSpare = std::move(spare);
    mSpareRate = rate;
  }

private:
  std::unique_ptr<HostedPlugin> TakeSpare(double rate)
  {
    const std::lock_guard<std::mutex> lock(mSpareMutex);
    if (!mSpare || mSpareRate != rate) return nullptr;
    return std::move(mSpare);
  }

  const ProcessOptions& mOptions;
  const PluginType& mType;
  Progress* mProgress;
  std::mutex mSpareMutex;
  std::unique_ptr<HostedPlugin> mSpare;
  double mSpareRate = 0;
  std::atomic<bool> mPrecisionNoted{false};
};

void CheckOptions(const ProcessOptions& o, std::vector<Job>& jobs)
{
  if (o.output.empty() && o.outDir.empty()) Usage("process: give -o OUTPUT or --out-dir DIR");
  if (!o.output.empty() && o.inputs.size() > 1)
    Usage("process: -o takes one input; use --out-dir DIR for " + std::to_string(o.inputs.size()));
  // An extension no format has is a mistyped name more often than a wish
  // for the input's format under another name.
  if (!o.output.empty() && o.output != "-" && o.format.empty() && !FormatFromExtension(o.output) &&
      BaseName(o.output).find('.') != std::string::npos && BaseName(o.output).rfind('.') > 0)
    Usage(o.output + ": no format has the extension ." +
          BaseName(o.output).substr(BaseName(o.output).rfind('.') + 1) +
          " (known: " + ExtensionNames() + "); rename it or give --format");
  if (!o.outDir.empty() && std::count(o.inputs.begin(), o.inputs.end(), "-"))
    Usage("process: standard input (-) has no file name for --out-dir; give -o OUTPUT");

  if (!o.format.empty() && !FormatFromName(o.format))
    Usage("--format " + o.format + ": unknown (known: " + FormatNames() + ")");
  if (!o.subtype.empty() && !SubtypeFromName(o.subtype))
    Usage("--subtype " + o.subtype + ": unknown (known: " + SubtypeNames() + ")");
  if (!o.saveState.empty() && o.inputs.size() > 1)
    Usage("--save-state takes one input (each file would have its own state)");
  if (!o.output.empty()) RequireOutputName(o.output, "-o");
  if (!o.automation.empty()) RequireInputFile(o.automation);
  if (!o.output.empty() && o.jobs > 1)
    std::fprintf(stderr,
                 "aaxhost: note: -j %d has no effect with -o (one file); it renders "
                 "several files at once with --out-dir\n",
                 o.jobs);
  if (!o.outDir.empty())
  {
    struct stat st;
    if (stat(o.outDir.c_str(), &st) != 0) Fail(o.outDir + ": " + std::strerror(errno));
    if (!S_ISDIR(st.st_mode)) Fail(o.outDir + ": not a folder");
  }
  std::map<std::string, std::string> seen;
  for (const std::string& in : o.inputs)
  {
    Job job{in, o.output.empty() ? o.outDir + "/" + BaseName(in) : o.output, {}};
    if (job.output != "-" && (SameFile(job.input, job.output) || job.input == job.output))
      Fail(job.output + ": is the input file; choose another output");
    if (!seen.emplace(job.output, in).second)
      Usage(job.output + ": written by both " + seen[job.output] + " and " + in);
    jobs.push_back(job);
  }
}
} // namespace

int RunProcess(const ProcessOptions& o)
{
  std::vector<Job> jobs;
  CheckOptions(o, jobs);
  const std::unique_ptr<PluginType> type = OpenPlugin(o.bundle);
  if (!o.saveState.empty()) type->CheckStatePath(o.saveState, true, "--save-state");
  if (!o.state.empty()) type->CheckStatePath(o.state, false, "--state");

  // Every input is looked at before anything is written, and every bad one
  // is reported; the lengths make the bar cover every file.
  int64_t totalFrames = 0;
  double rate = 0;
  size_t bad = 0;
  for (const Job& j : jobs)
  {
    try
    {
      AudioReader probe(j.input);
      const AudioFormat& fmt = probe.Format();
      CheckChannels(j.input, fmt.channels, type->Inputs());
      totalFrames += fmt.frames;
      if (rate == 0) rate = fmt.sampleRate;
    }
    catch (const ToolError& e)
    {
      std::fprintf(stderr, "aaxhost: %s\n", e.what());
      ++bad;
    }
  }
  if (bad)
  {
    if (jobs.size() > 1)
      std::fprintf(stderr, "aaxhost: %zu of %zu inputs cannot be rendered; nothing was written\n",
                   bad, jobs.size());
    return kExitFailure;
  }
  Progress progress(totalFrames, rate, !o.quiet && StderrIsTerminal(),
                    static_cast<int>(jobs.size()));
  Renderer renderer(o, *type, &progress);
  {
    // The command line's state, preset and values are the same for every
    // file: a mistake in them is found once, before anything renders.
    std::unique_ptr<HostedPlugin> first = type->NewInstance(rate, o.block);
    renderer.Recall(*first);
    renderer.GiveSpare(std::move(first), rate);
  }

  std::vector<std::string> errors(jobs.size());
  std::atomic<size_t> nextJob{0};
  auto worker = [&]
  {
    for (size_t i; (i = nextJob.fetch_add(1)) < jobs.size();)
    {
      progress.Started(BaseName(jobs[i].input));
      try
      {
        renderer.Run(jobs[i]);
      }
      catch (const std::exception& e)
      {
        errors[i] = e.what();
      }
      progress.Ended(BaseName(jobs[i].input));
    }
  };
  const size_t threads = std::min<size_t>(static_cast<size_t>(o.jobs), jobs.size());
  if (threads <= 1)
    worker();
  else
  {
    std::vector<std::thread> pool;
    for (size_t t = 0; t < threads; ++t)
      pool.emplace_back(worker);
    for (std::thread& t : pool)
      t.join();
  }
  const std::string summary = progress.Finish();
  for (const Job& j : jobs)
    for (const std::string& w : j.warnings)
      std::fprintf(stderr, "aaxhost: %s\n", w.c_str());
  size_t failed = 0;
  for (const std::string& e : errors)
    if (!e.empty())
    {
      std::fprintf(stderr, "aaxhost: %s\n", e.c_str());
      ++failed;
    }
  if (failed) return kExitFailure;
  if (!o.quiet)
    std::fprintf(stderr, "%zu file%s: %s\n", jobs.size(), jobs.size() == 1 ? "" : "s",
                 summary.c_str());
  return kExitOK;
}
} // namespace aaxtool
