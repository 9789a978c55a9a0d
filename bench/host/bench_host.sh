#!/usr/bin/env bash
# aaxhost process with Swap on, timed against `sox in.wav out.wav swap` and a
# bare libsndfile read-and-write of the same 10-minute 48 kHz stereo float
# WAV, on disk (the build folder) and on a tmpfs (/dev/shm). The three run in
# turn, RUNS rounds, so a noisy neighbour slows all of them alike; medians of
# wall time and of peak memory, and ratios.   bench_host.sh BUILD_DIR [RUNS]
# AAXHOST=path overrides the tool (to compare two builds on one bundle).
set -euo pipefail
build=${1:-build}
runs=${2:-7}
tool=${AAXHOST:-$build/bin/aaxhost}
bundle=$build/Quorvane.aaxplugin
copy=$build/bench/host/sndfile_copy
command -v sox >/dev/null || { echo "bench_host: sox is not installed (scripts/install-deps)" >&2; exit 1; }
[ -x /usr/bin/time ] || { echo "bench_host: /usr/bin/time is not installed (scripts/install-deps)" >&2; exit 1; }

disk=$(mktemp -d "$build/bench-host.XXXXXX")
places=("$disk")
shm=""
if [ -d /dev/shm ] && [ -w /dev/shm ]; then
  shm=$(mktemp -d /dev/shm/bench-host.XXXXXX)
  places+=("$shm")
fi
trap 'rm -rf "$disk" ${shm:+"$shm"}' EXIT

# One timed run: prints "seconds kilobytes cpu-seconds" (user + system, which
# a busy machine disturbs less than wall time).
timed() {
  local t0 t1
  t0=$(date +%s.%N)
  /usr/bin/time -f '%M %U %S' -o "$here/mem" "$@" >/dev/null 2>&1
  t1=$(date +%s.%N)
  awk -v a="$t0" -v b="$t1" '{printf "%.4f %d %.2f\n", b - a, $1, $2 + $3}' <(tail -1 "$here/mem")
}
median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

echo "== aaxhost process vs sox vs libsndfile: 600 s of 48 kHz stereo float WAV, input page-cached,"
echo "   median of $runs rounds (aaxhost, sox, copy in turn each round)"
printf '%-10s %-26s %9s %9s %9s\n' where program seconds "peak MB" "cpu s"
for here in "${places[@]}"; do
  where=disk
  [ "$here" = "$shm" ] && where=tmpfs
  "$tool" testsignal --seconds 600 "$here/in.wav" >/dev/null
  cat "$here/in.wav" >/dev/null
  : >"$here/aax.t" >"$here/sox.t" >"$here/copy.t"
  for _ in $(seq "$runs"); do
    timed "$tool" process "$bundle" "$here/in.wav" -o "$here/aax.wav" --param Swap=on -q >>"$here/aax.t"
    timed sox "$here/in.wav" "$here/sox.wav" swap >>"$here/sox.t"
    timed "$copy" "$here/in.wav" "$here/copy.wav" >>"$here/copy.t"
  done
  for p in aax sox copy; do
    eval "${p}_s=\$(cut -d' ' -f1 \"\$here/$p.t\" | median)"
    eval "${p}_m=\$(cut -d' ' -f2 \"\$here/$p.t\" | median)"
    eval "${p}_c=\$(cut -d' ' -f3 \"\$here/$p.t\" | median)"
  done
  # shellcheck disable=SC2154
  {
    printf '%-10s %-26s %9.3f %9.1f %9.2f\n' "$where" "aaxhost process (Swap on)" "$aax_s" "$(awk -v k="$aax_m" 'BEGIN {print k / 1024}')" "$aax_c"
    printf '%-10s %-26s %9.3f %9.1f %9.2f\n' "$where" "sox swap" "$sox_s" "$(awk -v k="$sox_m" 'BEGIN {print k / 1024}')" "$sox_c"
    printf '%-10s %-26s %9.3f %9.1f %9.2f\n' "$where" "libsndfile copy" "$copy_s" "$(awk -v k="$copy_m" 'BEGIN {print k / 1024}')" "$copy_c"
    printf '%-10s aaxhost / sox = %.2f (aim: at most 0.7), aaxhost / libsndfile = %.2f\n' "$where" \
      "$(awk -v a="$aax_s" -v b="$sox_s" 'BEGIN {print a / b}')" "$(awk -v a="$aax_s" -v b="$copy_s" 'BEGIN {print a / b}')"
  }
  # sox carries samples as 32-bit integers, so its float output is within
  # 2^-24 of the exact exchange, not equal to it.
  if "$tool" diff "$here/aax.wav" "$here/sox.wav" --tolerance 1e-7 >/dev/null; then
    echo "$where: aaxhost's output is within 1e-7 of sox's"
  else
    echo "$where: aaxhost's output is FURTHER than 1e-7 from sox's"
  fi
  rm -f "$here"/*.wav
done
