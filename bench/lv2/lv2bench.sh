#!/usr/bin/env bash
# lilv's lv2bench over Quorvane's LV2 bundle and two peers in the same run:
# x42's Stereo Routing (swaps and downmixes; the peer to beat) and eg-amp
# (lv2-examples' one-channel gain, a floor for the cost of a bare run call).
# lv2bench runs each plug-in with its default control values on silence and
# times only the run calls. Plug-ins alternate inside each round so a busy
# machine slows them alike; the tables give the median and the best round,
# and, where valgrind is installed, instructions per frame under callgrind,
# which the machine's load does not change.
#
#   bench/lv2/lv2bench.sh [BUILD_DIR] [ROUNDS]
set -euo pipefail
build=${1:-build}
rounds=${2:-9}
frames=$((1 << 25))  # a multiple of every block size
blocks=(64 512 4096)
command -v lv2bench >/dev/null || { echo "lv2bench: lilv-utils is not installed (scripts/install-deps)" >&2; exit 1; }

names=() uris=() bundles=()
add() { names+=("$1"); uris+=("$2"); bundles+=("$3"); }
if [ -f "$build/Quorvane.lv2/manifest.ttl" ]; then
  add Quorvane urn:orvantine:quorvane "$build/Quorvane.lv2"
else
  echo "lv2bench: no $build/Quorvane.lv2 (not built); the peers alone"
fi
add StereoRouting http://gareus.org/oss/lv2/stereoroute /usr/lib/lv2/stereoroute.lv2
add eg-amp http://lv2plug.in/plugins/eg-amp /usr/lib/lv2/eg-amp.lv2

# lilv sees these bundles only: loading every installed one takes longer
# than the measurement.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for b in "${bundles[@]}"; do
  [ -f "$b/manifest.ttl" ] || { echo "lv2bench: no bundle at $b (scripts/install-deps)" >&2; exit 1; }
  ln -s "$(cd "$b" && pwd)" "$work/"
done
export LV2_PATH="$work"

# ns per frame of one lv2bench run.
once() {
  lv2bench -b "$1" -n "$frames" "$2" | awk -v n="$frames" -v u="$2" \
    '$2 == u {printf "%.4f\n", $1 * 1e9 / n; found = 1} END {exit !found}' ||
    { echo "lv2bench: no figure for $2 at block size $1" >&2; exit 1; }
}
median() { sort -g | awk '{a[NR] = $1} END {print a[int((NR + 1) / 2)]}'; }
best() { sort -g | head -1; }

# Instructions per frame under callgrind, which no other load on the machine
# changes: the difference of two runs of different lengths, so loading and
# instantiating cancel out.
instructions() {
  local short=$((1 << 16)) long=$((1 << 18)) n=()
  for f in $short $long; do
    n+=("$(valgrind --tool=callgrind --callgrind-out-file=/dev/null lv2bench -b "$1" -n "$f" "$2" 2>&1 |
      sed -n 's/^==[0-9]*== Collected : //p')")
  done
  awk -v a="${n[0]}" -v b="${n[1]}" -v d=$((long - short)) 'BEGIN {printf "%.2f\n", (b - a) / d}'
}

# table TITLE FORMAT FIGURE_FUNCTION: one row per block size, the figures of
# every plug-in and the first plug-in's ratio to each of the others.
table() {
  local title=$1 fmt=$2 fn=$3 b i
  echo "== $title"
  local header
  header=$(printf '%-6s' block; printf ' %14s' "${names[@]}")
  for ((i = 1; i < ${#names[@]}; i++)); do header+=$(printf ' %22s' "${names[0]}/${names[i]}"); done
  echo "$header"
  for b in "${blocks[@]}"; do
    local fig=() line
    for ((i = 0; i < ${#names[@]}; i++)); do fig+=("$($fn "$b" "$i")"); done
    line=$(printf '%-6s' "$b"; printf " %14.${fmt}f" "${fig[@]}")
    for ((i = 1; i < ${#names[@]}; i++)); do
      line+=$(printf ' %22.2f' "$(awk -v a="${fig[0]}" -v c="${fig[i]}" 'BEGIN {print (c > 0 ? a / c : 0)}')")
    done
    echo "$line"
  done
}

# All rounds first, plug-ins alternating inside each, then the tables.
declare -A runs=()
for b in "${blocks[@]}"; do
  for ((r = 0; r < rounds; r++)); do
    for ((i = 0; i < ${#names[@]}; i++)); do runs[$b,$i]+="$(once "$b" "${uris[i]}") "; done
  done
done
median_of() { printf '%s\n' ${runs[$1,$2]} | median; }
best_of() { printf '%s\n' ${runs[$1,$2]} | best; }
table "lv2bench: ns per frame, median of $rounds rounds of $frames frames" 3 median_of
table "lv2bench: ns per frame, best of $rounds rounds" 3 best_of
if command -v valgrind >/dev/null; then
  instructions_of() { instructions "$1" "${uris[$2]}"; }
  table "lv2bench under callgrind: instructions per frame" 2 instructions_of
fi
[ "${names[0]}" != Quorvane ] || echo "aim: Quorvane/StereoRouting at most 1.00 at every block size"
echo "(all with default controls on silence: Quorvane with Swap and Mono off, Stereo"
echo " Routing with its -3 dB downmix; eg-amp has one channel, the others two)"
