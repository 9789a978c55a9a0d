#pragma once
// WDL_SIMD_CLONES marks a hot loop function to be compiled three times, for
// AVX-512F, AVX2 and the x86-64 baseline, with the best one picked once at
// load time. The project builds for the baseline, so without this the audio
// loops would use 16-byte vectors only. Only exact operations may go in these
// loops (no reassociation is enabled), so every clone gives bit-identical
// results.

#if defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define WDL_SIMD_CLONES_OFF 1
#endif
#endif
#if defined(__SANITIZE_THREAD__)
#define WDL_SIMD_CLONES_OFF 1
#endif

// ThreadSanitizer's runtime is not ready when load-time resolvers run, so
// those builds keep the baseline version only.
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__)) && !defined(WDL_SIMD_CLONES_OFF)
#define WDL_SIMD_CLONES __attribute__((target_clones("avx512f", "avx2", "default")))
#else
#define WDL_SIMD_CLONES
#endif
