// Renders a built-in stereo test signal through a Quorvane instance on a
// stand-in host, as a workstation does: the instance made by its creation
// procedure, switches set through the host's parameter updates, audio through
// the native render procedure, for each switch setting and for bypass.

#include "HostedEffect.h"
#include "Quorvane.h"

#include <cmath>
#include <cstdio>
#include <memory>
#include <vector>

namespace
{
constexpr int kFrames = 512;
constexpr double kSampleRate = 44100.0;
constexpr double kPi = 3.14159265358979323846;

struct Signal
{
  std::vector<float> left, right;
};

// Left: 441 Hz sine at 0.5; right: 882 Hz sine at 0.25, plus a first frame
// that is easy to follow by eye (0.25, -0.5).
Signal MakeTestSignal()
{
  Signal sig{std::vector<float>(kFrames), std::vector<float>(kFrames)};
  for (int s = 0; s < kFrames; ++s)
  {
    const double t = s / kSampleRate;
    sig.left[s] = static_cast<float>(0.5 * std::sin(2.0 * kPi * 441.0 * t));
    sig.right[s] = static_cast<float>(0.25 * std::sin(2.0 * kPi * 882.0 * t));
  }
  sig.left[0] = 0.25f;
  sig.right[0] = -0.5f;
  return sig;
}

double Rms(const std::vector<float>& x)
{
  double sum = 0.0;
  for (float v : x) sum += static_cast<double>(v) * v;
  return std::sqrt(sum / static_cast<double>(x.size()));
}

void Render(aaxhost::HostedEffect& fx, const Signal& in, Signal& out)
{
  Signal work = in; // the host's buffers may be modified in place
  float* inputs[2] = {work.left.data(), work.right.data()};
  out.left.assign(kFrames, 0.0f);
  out.right.assign(kFrames, 0.0f);
  float* outputs[2] = {out.left.data(), out.right.data()};
  fx.Render(inputs, outputs, kFrames);
}
} // namespace

int main()
{
  aaxhost::HostedEffect fx(reinterpret_cast<aaxhost::CreationProc>(&IPlugAAX::Create),
                           reinterpret_cast<aaxhost::NativeRenderProc>(
                               &AAX_CIPlugParameters::StaticRenderAudio));
  if (!fx.Valid())
  {
    std::fprintf(stderr, "the instance could not be created and initialised\n");
    return 1;
  }
  Quorvane& plug = *dynamic_cast<Quorvane*>(fx.Parameters());

  const Signal in = MakeTestSignal();
  char version[32];
  plug.GetEffectVersionStr(version);
  std::printf("%s %s by %s: %d frames at %.0f Hz through the host's render call\n",
              plug.GetEffectName(), version, plug.GetMfrName(), kFrames, kSampleRate);
  std::printf("input:  left 441 Hz sine at 0.5, right 882 Hz sine at 0.25; frame 0 = (0.25, -0.5)\n\n");
  std::printf("%-18s %10s %10s %10s %10s %9s %9s\n", "setting", "L[0]", "R[0]", "L[13]",
              "R[13]", "RMS L", "RMS R");
  std::printf("%-18s %10.6f %10.6f %10.6f %10.6f %9.6f %9.6f\n", "input", in.left[0],
              in.right[0], in.left[13], in.right[13], Rms(in.left), Rms(in.right));

  struct Setting
  {
    const char* name;
    double swap, mono;
    bool bypass;
  };
  const Setting settings[] = {
      {"swap off mono off", 0.0, 0.0, false}, {"swap on", 1.0, 0.0, false},
      {"mono on", 0.0, 1.0, false},           {"swap + mono", 1.0, 1.0, false},
      {"bypass (swap on)", 1.0, 0.0, true},
  };
  for (const Setting& st : settings)
  {
    // The host's parameter path, as automation would deliver it.
    fx.Update("1", st.swap);
    fx.Update("2", st.mono);
    fx.Update("MasterBypassID", st.bypass ? 1.0 : 0.0);
    Signal out;
    Render(fx, in, out);
    std::printf("%-18s %10.6f %10.6f %10.6f %10.6f %9.6f %9.6f\n", st.name, out.left[0],
                out.right[0], out.left[13], out.right[13], Rms(out.left), Rms(out.right));
  }
  return 0;
}
