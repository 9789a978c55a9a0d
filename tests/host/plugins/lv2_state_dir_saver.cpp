// Saves an LV2 plug-in's state folder with the tool's own SaveLv2StateDir,
// for jalv_test.sh's --saver (it takes the arguments lv2_save_state does):
//
//   lv2_state_dir_saver URI DIR SYMBOL=VALUE... [--port SYMBOL=VALUE]...
//
// The SYMBOL=VALUEs are set and one block is run, so the plug-in's own
// state follows them; a --port value is then set on the port alone, as a
// control changed while no run saw it.
#include "Lv2StateDir.h"
#include "ToolError.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

using namespace aaxtool;

namespace
{
void Assign(Lv2World& w, Lv2Instance& inst, const char* text)
{
  const char* eq = std::strchr(text, '=');
  if (!eq) Fail(std::string("not SYMBOL=VALUE: ") + text);
  for (const Lv2Port& p : w.Ports())
    if (p.control && p.input && p.symbol == std::string(text, eq))
    {
      inst.Control(p.index) = std::strtof(eq + 1, nullptr);
      return;
    }
  Fail(std::string("no control input port named ") + std::string(text, eq));
}
} // namespace

int main(int argc, char** argv)
{
  try
  {
    if (argc < 3)
      Fail("usage: lv2_state_dir_saver URI DIR SYMBOL=VALUE... [--port SYMBOL=VALUE]...");
    Lv2World w(argv[1]);
    Lv2Instance inst(w, 48000.0, 256);
    if (!inst.Ok()) Fail("could not instantiate " + w.Uri());
    std::vector<const char*> later;
    for (int i = 3; i < argc; ++i)
      if (std::strcmp(argv[i], "--port") == 0 && i + 1 < argc)
        later.push_back(argv[++i]);
      else
        Assign(w, inst, argv[i]);
    std::vector<std::vector<float>> audio(static_cast<size_t>(w.AudioIns() + w.AudioOuts()),
                                          std::vector<float>(256, 0.0f));
    std::vector<float*> ptrs;
    for (auto& a : audio)
      ptrs.push_back(a.data());
    inst.Activate();
    inst.Run(ptrs.data(), ptrs.data() + w.AudioIns(), 256);
    for (const char* a : later)
      Assign(w, inst, a);
    SaveLv2StateDir(w, inst, argv[2]);
    return 0;
  }
  catch (const ToolError& e)
  {
    std::fprintf(stderr, "lv2_state_dir_saver: %s\n", e.what());
    return 1;
  }
}
