#pragma once
// [any] Hot loops compiled three times, for the x86-64 baseline, AVX2 and
// AVX-512F, with the best level this processor runs picked at load time.
// The project builds for the baseline, so without this the audio loops would
// use 16-byte vectors only.
//
// Write the loop once as a WDL_SIMD_INLINE function and name it in
// WDL_SIMD_FUNCTION, which defines name_Baseline, name_Avx2, name_Avx512 and
// name itself, the last calling the variant of the current level. Only exact
// operations may go in these loops (no reassociation is enabled), so every
// level gives bit-identical results; tests hold each level to that by
// lowering the level with WDL_SetSimdLevel.

#include <atomic>

enum WDL_SimdLevel : int
{
  WDL_SIMD_BASELINE = 0, // SSE2, 16-byte vectors
  WDL_SIMD_AVX2 = 1,     // 32-byte vectors
  WDL_SIMD_AVX512 = 2,   // AVX-512F
};

#define WDL_SIMD_INLINE inline __attribute__((always_inline))

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define WDL_SIMD_TARGET_AVX2 __attribute__((target("avx2")))
#define WDL_SIMD_TARGET_AVX512 __attribute__((target("avx512f")))

// [any] The best level this processor (and its operating system) runs.
inline WDL_SimdLevel WDL_BestSimdLevel()
{
  // Called from static initialisers, possibly before the compiler's own
  // processor probe has run.
  __builtin_cpu_init();
  if (__builtin_cpu_supports("avx512f")) return WDL_SIMD_AVX512;
  if (__builtin_cpu_supports("avx2")) return WDL_SIMD_AVX2;
  return WDL_SIMD_BASELINE;
}
#else
#define WDL_SIMD_TARGET_AVX2
#define WDL_SIMD_TARGET_AVX512
inline WDL_SimdLevel WDL_BestSimdLevel() { return WDL_SIMD_BASELINE; }
#endif

namespace wdl_simd_detail
{
// Zero (the baseline) until this initialiser runs, so a loop called from
// an earlier static initialiser is still correct. One per module.
inline std::atomic<int> gLevel{WDL_BestSimdLevel()};
} // namespace wdl_simd_detail

// [any] The level the loops run at now.
inline WDL_SimdLevel WDL_GetSimdLevel()
{
  return static_cast<WDL_SimdLevel>(wdl_simd_detail::gLevel.load(std::memory_order_relaxed));
}

// [main, tests] Runs this module's loops at a level from now on; false, and
// nothing changed, for a level this processor cannot run. Not for use while
// another thread is inside a loop whose results must match a given level.
inline bool WDL_SetSimdLevel(WDL_SimdLevel level)
{
  if (level < WDL_SIMD_BASELINE || level > WDL_BestSimdLevel()) return false;
  wdl_simd_detail::gLevel.store(level, std::memory_order_relaxed);
  return true;
}

// ret name params defined three times over impl args, and the dispatcher.
// params is the parenthesised parameter list with names, args the
// parenthesised argument list; impl is a WDL_SIMD_INLINE function (wrap a
// template-id with commas in parentheses).
#define WDL_SIMD_FUNCTION(ret, name, params, args, impl)                                               \
  ret name##_Baseline params { return impl args; }                                                     \
  WDL_SIMD_TARGET_AVX2 ret name##_Avx2 params { return impl args; }                                    \
  WDL_SIMD_TARGET_AVX512 ret name##_Avx512 params { return impl args; }                                \
  ret name params                                                                                      \
  {                                                                                                    \
    static ret(*const kLevels[]) params = {name##_Baseline, name##_Avx2, name##_Avx512};              \
    return kLevels[wdl_simd_detail::gLevel.load(std::memory_order_relaxed)] args;                      \
  }
