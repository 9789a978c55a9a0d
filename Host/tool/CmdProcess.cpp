// aaxhost process: audio files through the plug-in, block by block, with
// parameter values, automation split at its change points, state chunks and
// latency compensation.

#include "Arguments.h"
#include "AudioFile.h"
#include "Automation.h"
#include "Commands.h"
#include "Plugin.h"
#include "Progress.h"
#include "ToolError.h"

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
  int major = in.format & SF_FORMAT_TYPEMASK;
  if (!o.format.empty())
    major = FormatFromName(o.format);
  else if (int ext = FormatFromExtension(output))
    major = ext;
  int sub = o.subtype.empty() ? in.format & SF_FORMAT_SUBMASK : SubtypeFromName(o.subtype);
  SF_INFO probe{};
  probe.channels = in.channels;
  probe.samplerate = in.sampleRate;
  probe.format = major | sub;
  if (o.subtype.empty() && !sf_format_check(&probe))
  {
    for (int fallback : {SF_FORMAT_PCM_24, SF_FORMAT_FLOAT, SF_FORMAT_PCM_16, SF_FORMAT_VORBIS})
    {
      probe.format = major | fallback;
      if (sf_format_check(&probe)) return probe.format;
    }
  }
  return major | sub;
}

std::vector<Change> ResolveChanges(const PluginInstance& plug,
                                   const std::vector<AutomationLane>& lanes)
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
      changes.push_back({p.frame, id, plug.ParseValue(id, p.value, p.where)});
  }
  std::stable_sort(changes.begin(), changes.end(),
                   [](const Change& a, const Change& b) { return a.frame < b.frame; });
  return changes;
}

class Renderer
{
public:
  Renderer(const ProcessOptions& o, const LoadedModule& module, Progress* progress)
      : mOptions(o), mModule(module), mProgress(progress)
  {
  }

  // Renders one file; the output appears only when everything succeeded.
  void Run(const Job& job)
  {
    AudioReader in(job.input);
    const AudioFormat& fmt = in.Format();
    if (fmt.channels != mModule.Inputs())
      Fail(job.input + ": has " + std::to_string(fmt.channels) + " channel" +
           (fmt.channels == 1 ? "" : "s") + ", the plug-in takes " +
           std::to_string(mModule.Inputs()) + " input channel" +
           (mModule.Inputs() == 1 ? "" : "s"));
    const int block = mOptions.block;
    PluginInstance plug(mModule, fmt.sampleRate, block);

    // As a workstation recalls a session: the chunk, then the values.
    if (!mOptions.state.empty()) plug.LoadChunk(LoadChunkFile(mOptions.state), mOptions.state);
    for (const std::string& a : mOptions.params)
      plug.ApplyAssignment(a);
    std::vector<Change> changes;
    if (!mOptions.automation.empty())
      changes =
          ResolveChanges(plug, LoadAutomation(mOptions.automation, fmt.frames, fmt.sampleRate));

    AudioFormat outFmt = fmt;
    outFmt.channels = mModule.Outputs();
    outFmt.format = OutputFormat(mOptions, fmt, job.output);
    AudioWriter out(job.output, outFmt);

    const int64_t latency = mOptions.noLatencyCompensation ? 0 : std::max(0, plug.Latency());
    const int inCh = fmt.channels, outCh = outFmt.channels;
    // Files are read and written in chunks of whole blocks; render calls are
    // at most one block and end early at every change point.
    // No AAX host hands a native plug-in more than 1024 frames per call
    // (plug-ins size their buffers for it), so larger blocks go as several.
    const int callFrames = std::min(block, kMaxCallFrames);
    const int64_t chunk = block * std::max<int64_t>(1, (8192 + block - 1) / block);
    std::vector<float> inBuf(static_cast<size_t>(chunk * inCh));
    std::vector<float> outBuf(static_cast<size_t>(chunk * outCh));
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
    bool inputEnded = false;
    while (pos < total)
    {
      const int64_t want = std::min(chunk, total - pos);
      int64_t got = inputEnded ? 0 : in.Read(inBuf.data(), want);
      if (got < want)
      {
        inputEnded = true;
        std::fill(inBuf.begin() + got * inCh, inBuf.begin() + want * inCh, 0.0f);
      }
      for (int64_t done = 0; done < want;)
      {
        while (next < changes.size() && changes[next].frame <= pos + done)
        {
          plug.Update(changes[next].id, changes[next].value);
          ++next;
        }
        int64_t n = std::min<int64_t>(callFrames, want - done);
        if (next < changes.size()) n = std::min(n, changes[next].frame - (pos + done));
        const float* src = inBuf.data() + done * inCh;
        for (int c = 0; c < inCh; ++c)
        {
          float* __restrict d = inPtrs[size_t(c)];
          for (int64_t f = 0; f < n; ++f)
            d[f] = src[f * inCh + c];
        }
        for (float* p : outPtrs)
          std::fill(p, p + n, 0.0f);
        plug.Render(inPtrs.data(), outPtrs.data(), static_cast<int32_t>(n));
        float* dst = outBuf.data() + done * outCh;
        for (int c = 0; c < outCh; ++c)
        {
          const float* __restrict s = outPtrs[size_t(c)];
          for (int64_t f = 0; f < n; ++f)
            dst[f * outCh + c] = s[f];
        }
        done += n;
      }
      const int64_t drop = std::min(skip, want);
      skip -= drop;
      out.Write(outBuf.data() + drop * outCh, want - drop);
      pos += want;
      if (mProgress)
        mProgress->Advance(std::min(want, std::max<int64_t>(0, fmt.frames - (pos - want))));
    }
    if (!mOptions.saveState.empty()) SaveChunkFile(mOptions.saveState, plug.SaveChunk());
    out.Commit();
  }

private:
  const ProcessOptions& mOptions;
  const LoadedModule& mModule;
  Progress* mProgress;
};

void CheckOptions(const ProcessOptions& o, std::vector<Job>& jobs)
{
  if (o.output.empty() && o.outDir.empty()) Usage("process: give -o OUTPUT or --out-dir DIR");
  if (!o.output.empty() && o.inputs.size() > 1)
    Usage("process: -o takes one input; use --out-dir DIR for " + std::to_string(o.inputs.size()));
  if (!o.format.empty() && !FormatFromName(o.format))
    Usage("--format " + o.format + ": unknown (known: " + FormatNames() + ")");
  if (!o.subtype.empty() && !SubtypeFromName(o.subtype))
    Usage("--subtype " + o.subtype + ": unknown (known: " + SubtypeNames() + ")");
  if (!o.saveState.empty() && o.inputs.size() > 1)
    Usage("--save-state takes one input (each file would have its own state)");
  if (!o.output.empty()) RequireOutputName(o.output, "-o");
  if (!o.saveState.empty()) RequireOutputName(o.saveState, "--save-state");
  if (!o.state.empty()) RequireInputFile(o.state);
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
    Job job{in, o.output.empty() ? o.outDir + "/" + BaseName(in) : o.output};
    if (SameFile(job.input, job.output) || job.input == job.output)
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
  LoadedModule module(o.bundle);

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
      if (fmt.channels != module.Inputs())
        Fail(j.input + ": has " + std::to_string(fmt.channels) + " channel" +
             (fmt.channels == 1 ? "" : "s") + ", the plug-in takes " +
             std::to_string(module.Inputs()) + " input channel" +
             (module.Inputs() == 1 ? "" : "s"));
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
  Renderer renderer(o, module, &progress);

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
