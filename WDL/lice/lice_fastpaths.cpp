// The row loops of every instruction set and the choice between them.

#include "lice_fastpaths.h"
#include "lice_sample.h"

#include <atomic>

namespace
{
// The reference: one combiner call per pixel or byte.
namespace plain
{
void CopyBytes(LICE_pixel_chan* d, const LICE_pixel_chan* s, int n, int W)
{
  for (int i = 0; i < n; ++i) d[i] = static_cast<LICE_pixel_chan>(LICE_CopyCh<false>::ch(d[i], s[i], W));
}
void AddBytes(LICE_pixel_chan* d, const LICE_pixel_chan* s, int n, int W)
{
  for (int i = 0; i < n; ++i) d[i] = static_cast<LICE_pixel_chan>(LICE_AddCh::ch(d[i], s[i], W));
}
void CopySourceAlpha(LICE_pixel* d, const LICE_pixel* s, int n, int W)
{
  for (int i = 0; i < n; ++i)
    d[i] = W == 256 ? _LICE_CombinePixelsCopySourceAlphaIgnoreAlphaParmNoClamp::px(d[i], s[i], W)
                    : _LICE_CombinePixelsCopySourceAlphaNoClamp::px(d[i], s[i], W);
}
void CopyFill(LICE_pixel* d, int n, LICE_pixel src, int W)
{
  for (int i = 0; i < n; ++i) d[i] = _LICE_CombinePixelsCopyNoClamp::px(d[i], src, W);
}
void SolidFill(LICE_pixel* d, int n, LICE_pixel c)
{
  for (int i = 0; i < n; ++i) d[i] = c;
}
void Bilinear(LICE_pixel* out, const LICE_pixel* base, ptrdiff_t step, const int* offs, const unsigned int* fxfy,
              unsigned int fyOr, int n, int)
{
  for (int i = 0; i < n; ++i)
  {
    const LICE_pixel* p = base + offs[i];
    out[i] = __LICE_BilinearFilterI(p[0], p[1], p[step], p[step + 1], fxfy[i] & 0xffffu, (fxfy[i] | fyOr) >> 16);
  }
}
constexpr LICE_RowKernels kKernels = {CopyBytes, AddBytes, CopySourceAlpha, CopyFill, SolidFill, Bilinear};
} // namespace plain
} // namespace

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define LICE_X86_KERNELS 1
// g++ 12's AVX-512 headers pass deliberately undefined vectors as unused
// merge sources, which its own uninitialised-use check then reports.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#include <immintrin.h>
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif

namespace
{
namespace sse2
{
#define LICE_VB 16
#include "lice_kernels.inl"
#undef LICE_VB
} // namespace sse2
} // namespace

// The wider sets are compiled for their own instruction sets only; they run
// only where the processor reports them.
#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("avx2"))), apply_to = function)
#else
#pragma GCC push_options
#pragma GCC target("avx2")
#endif
namespace
{
namespace avx2
{
#define LICE_VB 32
#include "lice_kernels.inl"
#undef LICE_VB
} // namespace avx2
} // namespace
#if defined(__clang__)
#pragma clang attribute pop
#pragma clang attribute push(__attribute__((target("avx512f,avx512bw"))), apply_to = function)
#else
#pragma GCC pop_options
#pragma GCC push_options
#pragma GCC target("avx512f,avx512bw")
#endif
namespace
{
namespace avx512
{
#define LICE_VB 64
#include "lice_kernels.inl"
#undef LICE_VB
} // namespace avx512
} // namespace
#if defined(__clang__)
#pragma clang attribute pop
#else
#pragma GCC pop_options
#endif
#endif

namespace
{
const LICE_RowKernels* Table(LICE_SimdLevel level)
{
#if defined(LICE_X86_KERNELS)
  switch (level)
  {
  case LICE_SIMD_SSE2: return &sse2::kKernels;
  case LICE_SIMD_AVX2: return &avx2::kKernels;
  case LICE_SIMD_AVX512: return &avx512::kKernels;
  default: break;
  }
#endif
  (void)level;
  return &plain::kKernels;
}

LICE_SimdLevel Detect()
{
#if defined(LICE_X86_KERNELS)
  __builtin_cpu_init();
  if (__builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw")) return LICE_SIMD_AVX512;
  if (__builtin_cpu_supports("avx2")) return LICE_SIMD_AVX2;
  return LICE_SIMD_SSE2;
#else
  return LICE_SIMD_PLAIN;
#endif
}

std::atomic<const LICE_RowKernels*> g_chosen{nullptr};
} // namespace

LICE_SimdLevel LICE_BestSimdLevel()
{
  static const LICE_SimdLevel best = Detect();
  return best;
}

const LICE_RowKernels& LICE_Kernels()
{
  const LICE_RowKernels* k = g_chosen.load(std::memory_order_relaxed);
  if (!k)
  {
    k = Table(LICE_BestSimdLevel());
    g_chosen.store(k, std::memory_order_relaxed);
  }
  return *k;
}

bool LICE_SetSimdLevel(LICE_SimdLevel level)
{
  if (level < LICE_SIMD_PLAIN || level > LICE_BestSimdLevel()) return false;
  g_chosen.store(Table(level), std::memory_order_relaxed);
  return true;
}
