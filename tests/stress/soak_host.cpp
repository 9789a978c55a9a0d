// The host's control threads: automation (values set and requested, queries,
// the editor's requests answered) and state (chunks saved, compared and
// restored). Each call into the instance is made under the host-call lock.
#include "soak.h"

#include "AAX_CString.h"
#include "AAX_Errors.h"
#include "AAX_SPlugInChunk.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <thread>

namespace stress
{
namespace
{
// Mostly plain values in 0..1, some at the ends, a few a host should not
// send (outside 0..1, NaN, infinity) which the plug-in must take calmly.
double RandomValue(Rng& rng)
{
  const unsigned pick = static_cast<unsigned>(rng() % 20);
  if (pick < 14) return std::uniform_real_distribution<double>(0.0, 1.0)(rng);
  if (pick < 16) return 0.0;
  if (pick < 18) return 1.0;
  const double odd[] = {-0.25, 1.25, 0.5, std::numeric_limits<double>::quiet_NaN(),
                        std::numeric_limits<double>::infinity()};
  return odd[rng() % 5];
}

// Between calls: mostly a yield, sometimes a short sleep, so the threads
// meet the render call at every point of it.
void Pause(Rng& rng)
{
  if (rng() % 16 == 0)
    std::this_thread::sleep_for(std::chrono::microseconds(rng() % 100));
  else
    std::this_thread::yield();
}

// Parks the thread for a checkpoint, after applying what the editor asked.
void ParkWithEchoes(Soak& soak, int thread)
{
  {
    std::lock_guard<std::mutex> lock(soak.HostCalls());
    soak.Count().echoes.fetch_add(soak.Host().Automation()->DeliverEchoes());
  }
  soak.Checkpoints().Park(soak.Result(), soak.Heartbeat(thread));
}
} // namespace

void RunAutomation(Soak& soak)
{
  Rng rng(soak.Seed() * 0x9E3779B97F4A7C15ull + kAutomationThread);
  AAX_IACFEffectParameters* p = soak.Params();
  const std::vector<std::string>& ids = soak.ParamIDs();
  Counters& count = soak.Count();
  while (!soak.Result().Stopping())
  {
    soak.Heartbeat(kAutomationThread).fetch_add(1);
    if (soak.Checkpoints().Requested())
    {
      ParkWithEchoes(soak, kAutomationThread);
      continue;
    }
    {
      std::lock_guard<std::mutex> lock(soak.HostCalls());
      const std::string& id = ids[rng() % ids.size()];
      const double v = RandomValue(rng);
      const unsigned op = static_cast<unsigned>(rng() % 100);
      if (op < 60)
      {
        // Automation playback.
        if (const AAX_Result r =
                p->UpdateParameterNormalizedValue(id.c_str(), v, AAX_EUpdateSource(0)))
          return soak.Result().Fail(
              aaxhost::WithCode("UpdateParameterNormalizedValue(" + id + ", " + Num(v) + ")", r));
        count.updates.fetch_add(1);
      }
      else if (op < 80)
      {
        // A control surface: the request goes through the host's automation,
        // which answers it here, as it answers the editor's.
        if (const AAX_Result r = p->SetParameterNormalizedValue(id.c_str(), v))
          return soak.Result().Fail(
              aaxhost::WithCode("SetParameterNormalizedValue(" + id + ", " + Num(v) + ")", r));
        count.requests.fetch_add(1);
        count.hostPosts.fetch_add(1);
        count.echoes.fetch_add(soak.Host().Automation()->DeliverEchoes());
      }
      else if (op < 90)
      {
        count.echoes.fetch_add(soak.Host().Automation()->DeliverEchoes());
      }
      else if (op < 99)
      {
        // What a workstation's mixer window reads.
        AAX_CString text;
        double now = -1.0;
        if (p->GetParameterValueString(id.c_str(), &text, 32) != AAX_SUCCESS ||
            p->GetParameterNormalizedValue(id.c_str(), &now) != AAX_SUCCESS ||
            !(now >= 0.0 && now <= 1.0))
          return soak.Result().Fail("parameter " + id + " reads " + Num(now) + " (\"" +
                                    text.StdString() + "\")");
        count.queries.fetch_add(1);
      }
      else
      {
        const AAX_Result r =
            p->UpdateParameterNormalizedValue("no such parameter", v, AAX_EUpdateSource(0));
        if (r != AAX_ERROR_INVALID_PARAMETER_ID)
          return soak.Result().Fail(
              aaxhost::WithCode("an update of an unknown parameter was not refused", r));
      }
    }
    Pause(rng);
  }
}

namespace
{
// A chunk of the plug-in's layout with values of our own: mostly the two
// switch states, sometimes values a damaged session could hold.
std::vector<char> MadeUpChunk(Rng& rng, size_t size, bool* canonical)
{
  std::vector<char> data(size, 0);
  *canonical = true;
  for (size_t at = 0; at + 8 <= size; at += 8)
  {
    double v = static_cast<double>(rng() % 2);
    if (rng() % 10 == 0)
    {
      const double odd[] = {0.25, 2.0, -1.0, std::numeric_limits<double>::quiet_NaN(),
                            -std::numeric_limits<double>::infinity()};
      v = odd[rng() % 5];
      *canonical = *canonical && v >= 0.0 && v <= 1.0;
    }
    std::memcpy(data.data() + at, &v, 8);
  }
  return data;
}
} // namespace

void RunChunks(Soak& soak)
{
  Rng rng(soak.Seed() * 0x9E3779B97F4A7C15ull + kChunkThread);
  AAX_IACFEffectParameters* p = soak.Params();
  aaxhost::HostAutomationDelegate& automation = *soak.Host().Automation();
  Counters& count = soak.Count();
  std::vector<std::vector<char>> saved;
  size_t next = 0;
  // When the delegate's request count is what the host's own calls explain,
  // the editor changed nothing in between (it changes a value and requests
  // it under one hold of the plug-in mutex), and the host made no other
  // call: the plug-in's state must then be exactly data.
  auto compare = [&](const std::vector<char>& data, size_t expected, const char* what) -> bool
  {
    std::vector<char> record = soak.Record(data);
    AAX_CBoolean equal = 0;
    const AAX_Result r =
        p->CompareActiveChunk(reinterpret_cast<AAX_SPlugInChunk*>(record.data()), &equal);
    if (r != AAX_SUCCESS)
    {
      soak.Result().Fail(aaxhost::WithCode(std::string("CompareActiveChunk of ") + what, r));
      return false;
    }
    if (!equal && automation.SetRequestCount() == expected)
    {
      soak.Result().Fail(std::string("CompareActiveChunk calls ") + what +
                         " different, with nothing changed in between");
      return false;
    }
    return true;
  };
  while (!soak.Result().Stopping())
  {
    soak.Heartbeat(kChunkThread).fetch_add(1);
    if (soak.Checkpoints().Requested())
    {
      ParkWithEchoes(soak, kChunkThread);
      continue;
    }
    {
      std::lock_guard<std::mutex> lock(soak.HostCalls());
      const unsigned op = static_cast<unsigned>(rng() % 100);
      if (op < 45 || saved.empty())
      {
        const size_t before = automation.SetRequestCount();
        State s;
        if (!soak.ReadState(s)) return;
        if (!compare(s.chunk, before, "the chunk just saved")) return;
        if (saved.size() < 8)
          saved.push_back(s.chunk);
        else
          saved[next++ % saved.size()] = s.chunk;
        count.chunkSaves.fetch_add(1);
      }
      else if (op < 90)
      {
        const bool own = rng() % 10 < 7;
        bool canonical = true;
        const std::vector<char> data =
            own ? saved[rng() % saved.size()] : MadeUpChunk(rng, saved[0].size(), &canonical);
        std::vector<char> record = soak.Record(data);
        const size_t before = automation.SetRequestCount();
        if (const AAX_Result r =
                p->SetChunk(soak.ChunkID(), reinterpret_cast<AAX_SPlugInChunk*>(record.data())))
          return soak.Result().Fail(aaxhost::WithCode("SetChunk refused a chunk", r));
        count.hostPosts.fetch_add(soak.PostsPerRestore());
        count.chunkRestores.fetch_add(1);
        if (own) count.roundTrips.fetch_add(1);
        if (canonical && !compare(data, before + soak.PostsPerRestore(), "the chunk just restored"))
          return;
      }
      else if (op < 97)
      {
        count.echoes.fetch_add(automation.DeliverEchoes());
      }
      else
      {
        // Another plug-in's chunk: refused, and reported equal (not ours to judge).
        std::vector<char> record = soak.Record(saved[0]);
        auto* chunk = reinterpret_cast<AAX_SPlugInChunk*>(record.data());
        chunk->fChunkID = 0x58585858;
        const AAX_Result r = p->SetChunk(chunk->fChunkID, chunk);
        AAX_CBoolean equal = 0;
        p->CompareActiveChunk(chunk, &equal);
        if (r != AAX_ERROR_INVALID_CHUNK_ID || !equal)
          return soak.Result().Fail(
              aaxhost::WithCode("another plug-in's chunk was not refused and called equal", r));
        count.foreignChunks.fetch_add(1);
      }
    }
    Pause(rng);
  }
}
} // namespace stress
