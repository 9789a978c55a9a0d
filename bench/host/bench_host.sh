#!/usr/bin/env bash
# aaxhost process with Swap on, timed against `sox in.wav out.wav swap` and a
# bare libsndfile read-and-write of the same 10-minute 48 kHz stereo float
# WAV; several runs each, medians and ratios.   bench_host.sh BUILD_DIR [RUNS]
set -euo pipefail
build=${1:-build}
runs=${2:-5}
tool=$build/bin/aaxhost
bundle=$build/Quorvane.aaxplugin
copy=$build/bench/host/sndfile_copy
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
command -v sox >/dev/null || { echo "bench_host: sox is not installed (scripts/install-deps)" >&2; exit 1; }

"$tool" testsignal --seconds 600 "$work/in.wav" >/dev/null

# Median wall time in seconds of running "$@" $runs times.
median() {
  local times=()
  for _ in $(seq "$runs"); do
    local t0 t1
    t0=$(date +%s.%N)
    "$@" >/dev/null 2>&1
    t1=$(date +%s.%N)
    times+=("$(awk -v a="$t0" -v b="$t1" 'BEGIN {printf "%.4f", b - a}')")
  done
  printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'
}

echo "== aaxhost process vs sox vs libsndfile: 600 s of 48 kHz stereo float WAV, median of $runs runs"
aax=$(median "$tool" process "$bundle" "$work/in.wav" -o "$work/aax.wav" --param Swap=on -q)
sox_t=$(median sox "$work/in.wav" "$work/sox.wav" swap)
bare=$(median "$copy" "$work/in.wav" "$work/copy.wav")
# sox carries samples as 32-bit integers, so its float output is within
# 2^-24 of the exact exchange, not equal to it.
"$tool" diff "$work/aax.wav" "$work/sox.wav" --tolerance 1e-7 >/dev/null && same="within 1e-7 of sox's" || same="FURTHER than 1e-7 from sox's"
printf '%-28s %8.3f s\n' "aaxhost process (Swap on)" "$aax" "sox swap" "$sox_t" "libsndfile copy" "$bare"
printf 'aaxhost / sox        = %.2f  (aim: at most 1/0.9 = 1.11)\n' "$(awk -v a="$aax" -v b="$sox_t" 'BEGIN {print a / b}')"
printf 'aaxhost / libsndfile = %.2f\n' "$(awk -v a="$aax" -v b="$bare" 'BEGIN {print a / b}')"
echo "aaxhost's output is $same"
