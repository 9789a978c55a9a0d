// The reciprocal table of the integer RGB to HSV conversion.

#include "lice_combine.h"

namespace
{
struct InvTab
{
  unsigned short v[256];
  constexpr InvTab() : v()
  {
    for (int i = 1; i < 256; ++i) v[i] = static_cast<unsigned short>(65536 / i - 1);
  }
};
constexpr InvTab kInvTab;
} // namespace

extern const unsigned short __LICE_RGB2HSV_invtab[256];
const unsigned short __LICE_RGB2HSV_invtab[256] = {
#define QV_E(i) kInvTab.v[i]
#define QV_E8(i) QV_E(i), QV_E(i + 1), QV_E(i + 2), QV_E(i + 3), QV_E(i + 4), QV_E(i + 5), QV_E(i + 6), QV_E(i + 7)
#define QV_E64(i) QV_E8(i), QV_E8(i + 8), QV_E8(i + 16), QV_E8(i + 24), QV_E8(i + 32), QV_E8(i + 40), QV_E8(i + 48), QV_E8(i + 56)
    QV_E64(0), QV_E64(64), QV_E64(128), QV_E64(192)
#undef QV_E64
#undef QV_E8
#undef QV_E
};
