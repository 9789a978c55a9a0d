#!/usr/bin/env bash
# make process-corpus: aaxhost process against Debian's lv2file over every
# LV2 plug-in on this machine (lv2ls) that has audio in and out. Each gets
# 94 blocks of 512 frames of float noise (one channel per audio input; whole
# blocks, since lv2file and aaxhost cut a short last block differently) with
# its default controls, through lv2file twice (a plug-in whose two runs differ
# is not deterministic and proves nothing) and through aaxhost once; the
# outputs must be the same samples (lv2file does not compensate a plug-in's
# latency, so aaxhost does not either here). Writes BUILD/corpus/process.md: the
# counts, the median time per file of both tools, and every disagreement
# with the commands that show it again.
#   process-corpus.sh BUILD_DIR
set -euo pipefail
build=${1:?build directory}
out=$build/corpus/process
tool=$build/bin/aaxhost
[ -x "$tool" ] || { echo "process-corpus: $tool is not built" >&2; exit 1; }
for t in lv2ls lv2file sox; do
  command -v $t >/dev/null || { echo "process-corpus: $t is missing (scripts/install-deps)" >&2; exit 1; }
done
rm -rf "$out"
mkdir -p "$out/runs"
# A copy of its own, so a rebuild during the run changes nothing; the
# report's commands name the built one.
shown=$tool
cp "$tool" "$out/aaxhost"
tool=$out/aaxhost
if [ -n "${CORPUS_URIS:-}" ]; then cp "$CORPUS_URIS" "$out/uris.txt"; else lv2ls > "$out/uris.txt"; fi
echo "process-corpus: $(wc -l < "$out/uris.txt") plug-ins"

# Milliseconds a command takes; its status is the command's.
ms() {
  local t0 t1 rc=0
  t0=$(date +%s%N)
  # In a subshell of its own, so a crash of the tool is counted, not reported
  # by this shell.
  ("$@"; exit $?) >/dev/null 2>&1 || rc=$?
  t1=$(date +%s%N)
  echo $(((t1 - t0) / 1000000)) >> "$timefile"
  return $rc
}

declare -A count=()
bump() { count[$1]=$((${count[$1]:-0} + 1)); }
: > "$out/disagree.txt"
: > "$out/lv2file.ms"
: > "$out/aaxhost.ms"
n=0
while read -r uri; do
  n=$((n + 1))
  w=$out/runs/$n
  mkdir -p "$w"
  if ! timeout 60 "$tool" describe --json "$uri" > "$w/describe.json" 2> "$w/describe.err"; then
    bump "not described by aaxhost"
    continue
  fi
  ins=$(sed -n 's/.*"audio_inputs": *\([0-9]*\).*/\1/p' "$w/describe.json" | head -1)
  outs=$(sed -n 's/.*"audio_outputs": *\([0-9]*\).*/\1/p' "$w/describe.json" | head -1)
  if [ -z "$ins" ] || [ -z "$outs" ] || [ "$ins" = 0 ] || [ "$outs" = 0 ]; then
    bump "no audio in or no audio out"
    continue
  fi
  sox -n -r 48000 -e float -b 32 -c "$ins" "$w/in.wav" synth 48128s whitenoise vol 0.5 2>/dev/null
  timefile=$out/lv2file.ms
  if ! ms timeout 60 lv2file --ignore-clipping -b 512 -i "$w/in.wav" -o "$w/a.wav" "$uri" ||
    ! (timeout 60 lv2file --ignore-clipping -b 512 -i "$w/in.wav" -o "$w/b.wav" "$uri"; exit $?) >/dev/null 2>&1; then
    bump "lv2file cannot run it"
    continue
  fi
  if ! "$tool" diff "$w/a.wav" "$w/b.wav" >/dev/null 2>&1; then
    bump "lv2file's two runs differ (not deterministic)"
    continue
  fi
  timefile=$out/aaxhost.ms
  if ! ms timeout 60 "$tool" process "$uri" "$w/in.wav" -o "$w/c.wav" --block 512 --subtype float \
    --no-latency-compensation -q; then
    "$tool" process "$uri" "$w/in.wav" -o "$w/c.wav" --block 512 --subtype float \
      --no-latency-compensation -q 2> "$w/process.err" >/dev/null || true
    if grep -q "feature" "$w/process.err"; then
      bump "needs a feature aaxhost does not offer"
    else
      bump "aaxhost process failed"
      printf '%s\taaxhost process failed: %s\n' "$uri" "$(head -1 "$w/process.err")" >> "$out/disagree.txt"
    fi
    continue
  fi
  if "$tool" diff "$w/a.wav" "$w/c.wav" >/dev/null 2>&1; then
    bump "the same samples"
    rm -rf "$w"
  else
    bump "different samples"
    printf '%s\tdifferent samples\n' "$uri" >> "$out/disagree.txt"
  fi
done < "$out/uris.txt"

median() { sort -n | awk '{a[NR] = $1} END {if (NR) print a[int((NR + 1) / 2)]; else print "-"}'; }
{
  echo "# aaxhost process against lv2file -b 512"
  echo
  echo "$n plug-ins listed by lv2ls; each with its default controls on 94 blocks of float noise at 48 kHz."
  echo
  echo "| outcome | plug-ins |"
  echo "|---|---|"
  for k in "${!count[@]}"; do echo "| $k | ${count[$k]} |"; done | sort
  echo
  echo "Median time per file: lv2file $(median < "$out/lv2file.ms") ms, aaxhost $(median < "$out/aaxhost.ms") ms."
  if [ -s "$out/disagree.txt" ]; then
    echo
    echo "## Disagreements, each with the commands that show it again"
    echo
    while IFS=$'\t' read -r uri what; do
      echo "- \`$uri\`: $what"
      echo "  \`sox -n -r 48000 -e float -b 32 -c CHANNELS in.wav synth 48128s whitenoise vol 0.5; lv2file --ignore-clipping -b 512 -i in.wav -o a.wav $uri; $shown process $uri in.wav -o c.wav --block 512 --subtype float --no-latency-compensation; $shown diff a.wav c.wav\`"
    done < "$out/disagree.txt"
  fi
} > "$build/corpus/process.md"
cat "$build/corpus/process.md"
