#!/usr/bin/env bash
# The LV2 bundles in programs no one here wrote: lv2_validate, lv2info,
# nm, lilv's lv2apply, lv2file and lv2proc, against aaxhost process on the
# AAX module.
#   lv2_tools_test.sh CHECK AAXHOST WAV_AS AAX_BUNDLE QUORVANE_LV2 QVTEST_LV2 QVTEST_AAX
# CHECK is one of: validate info exports render edges presets.
set -euo pipefail
check=$1 aaxhost=$2 wav_as=$3 aax=$4 qv=$5 qt=$6 qtaax=$7
QV=urn:orvantine:quorvane QT=urn:orvantine:qvtest

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Hosts see exactly the two bundles under test.
mkdir "$work/lv2"
ln -s "$qv" "$work/lv2/Quorvane.lv2"
ln -s "$qt" "$work/lv2/QvTest.lv2"
export LV2_PATH=$work/lv2

fail() { echo "FAIL: $*" >&2; exit 1; }
has() { grep -qF -- "$2" <<<"$1" || fail "$3: no '$2' in the listing"; }

# The samples of an audio file exactly as stored (no conversion).
samples() { sox "$1" -t raw - | md5sum | cut -d' ' -f1; }
same_file() {
  [ "$(soxi -e "$1")" = "$(soxi -e "$2")" ] && [ "$(soxi -b "$1")" = "$(soxi -b "$2")" ] ||
    fail "$3: $(soxi -e "$2") $(soxi -b "$2")-bit, expected $(soxi -e "$1") $(soxi -b "$1")-bit"
  [ "$(samples "$1")" = "$(samples "$2")" ] || fail "$3: samples differ"
}

# mode_args off|swap|mono: the switch as aaxhost (ap), lv2apply (lc) and
# lv2file (lp) take it.
mode_args() {
  case $1 in
  off) ap=(); lc=(); lp=() ;;
  swap) ap=(--param Swap=on); lc=(-c swap 1); lp=(-p swap:1) ;;
  mono) ap=(--param Mono=on); lc=(-c mono 1); lp=(-p mono:1) ;;
  esac
}

case $check in
validate)
  for b in "$qv" "$qt"; do
    out=$(lv2_validate "$b"/*.ttl 2>&1) || fail "lv2_validate $b: $out"
    grep -q "Found 0 errors" <<<"$out" || fail "lv2_validate $b: $(grep -i error <<<"$out" | head -3)"
  done
  # Nothing the installed LV2 vocabulary marks deprecated is declared,
  # and the version is a release: minor and micro even, minor not zero.
  deprecated=$(grep -l 'owl:deprecated' /usr/lib/lv2/*/*.ttl | while read -r f; do sordi "$f"; done 2>/dev/null |
    awk '$2 == "<http://www.w3.org/2002/07/owl#deprecated>" && $3 ~ /^"true"/ {print $1}' | sort -u)
  grep -qx '<http://lv2plug.in/ns/extensions/ui#resize>' <<<"$deprecated" || fail "found no deprecated URIs to check against"
  for b in "$qv" "$qt"; do
    triples=$(for f in "$b"/*.ttl; do sordi "$f"; done 2>/dev/null)
    used=$(awk '{print $2; print $3}' <<<"$triples" | grep -xF -f <(echo "$deprecated") || true)
    [ -z "$used" ] || fail "$b declares deprecated $(tr '\n' ' ' <<<"$used")"
    for v in minorVersion microVersion; do
      n=$(awk -v p="<http://lv2plug.in/ns/lv2core#$v>" '$2 == p {print $3}' <<<"$triples" | grep -o '[0-9]*' | head -1)
      [ -n "$n" ] && [ $((n % 2)) = 0 ] || fail "$b: lv2:$v '$n' is not a release version"
      [ $v = microVersion ] || [ "$n" != 0 ] || fail "$b: lv2:minorVersion 0 is unstable"
    done
  done
  ;;
info)
  q=$(lv2info $QV 2>&1)
  for s in "Name:              Quorvane" "Has latency:       yes, reported by port 6" \
    "http://lv2plug.in/ns/ext/urid#map" "http://lv2plug.in/ns/ext/options#options" \
    "http://lv2plug.in/ns/lv2core#hardRTCapable" "http://lv2plug.in/ns/ext/state#interface" \
    "Symbol:      swap" "Symbol:      mono" "Symbol:      latency" "1.0 = \"on\"" \
    "http://lv2plug.in/ns/lv2core#toggled"; do has "$q" "$s" Quorvane; done
  grep -A1 "Presets:" <<<"$q" | grep -q Quorvane || fail "Quorvane: preset not listed"
  t=$(lv2info $QT 2>&1)
  for s in "Has latency:       yes, reported by port 8" "Symbol:      gain" \
    "Minimum:     -60.000000" "Maximum:     12.000000" \
    "http://lv2plug.in/ns/lv2core#enumeration" "2.0 = \"Right\"" "Symbol:      steps" \
    "Maximum:     8.000000" "Default:     2.000000" "Symbol:      mute" "Quiet Left" "Unity"; do
    has "$t" "$s" QvTest
  done
  # The same source as an AAX module: the same four parameters.
  a=$("$aaxhost" params "$qtaax" 2>&1) || fail "aaxhost params QvTest: $a"
  for s in Gain Mode Steps Mute Stereo; do has "$a" "$s" "QvTest AAX"; done
  # lv2info does not list units; the generated file must name the gain's.
  grep -A12 '"gain"' "$qt/QvTest.ttl" | grep -q "units:unit units:db" || fail "QvTest: gain has no unit"
  ;;
exports)
  for so in "$qv/Quorvane.so" "$qt/QvTest.so"; do
    syms=$(nm -D --defined-only "$so" | awk '{print $3}')
    [ "$syms" = lv2_descriptor ] || fail "$so exports: $(tr '\n' ' ' <<<"$syms")"
  done
  # Every thread call run() could make goes through an import: Quorvane's
  # are the two mutex calls (the creation mutex, and the plug-in mutex the
  # LV2 wrapper leaves off), which lv2_host_tests counts inside run() with
  # the futex and every other system call. A new pthread or semaphore
  # import would escape that count.
  imports=$(nm -D --undefined-only "$qv/Quorvane.so" | awk '{sub(/@.*/, "", $2); print $2}' |
    grep -E '^(pthread_|sem_)' | tr '\n' ' ')
  [ "$imports" = "pthread_mutex_lock pthread_mutex_unlock " ] || fail "Quorvane.so imports: $imports"
  ;;
render)
  # 16-bit and float at 44.1 kHz, 24-bit at 96 kHz: noise, so every sample
  # differs between the channels.
  sox -n -r 44100 -b 16 -c 2 "$work/a16.wav" synth 0.25 whitenoise vol 0.7 synth 0.25 sine 311 2>/dev/null
  sox -n -r 96000 -b 24 -c 2 "$work/b24.wav" synth 0.2 whitenoise vol 0.5 synth 0.2 sine 97 2>/dev/null
  sox -n -r 44100 -e float -b 32 -c 2 "$work/c32.wav" synth 0.25 pinknoise synth 0.25 sine 1000 2>/dev/null
  for f in a16 b24 c32; do
    in=$work/$f.wav
    for mode in off swap mono; do
      mode_args $mode
      # aaxhost's exact float output, written as the LV2 hosts write floats
      # into the input's sample type (their reading is the same as aaxhost's).
      ref=$work/$f-$mode-aax.wav
      "$aaxhost" process "$aax" "$in" -o "$work/float.wav" --subtype float -q "${ap[@]}" >/dev/null
      "$wav_as" "$work/float.wav" "$ref" "$in"
      lv2apply -i "$in" -o "$work/$f-$mode-apply.wav" "${lc[@]}" $QV >/dev/null 2>&1 ||
        fail "lv2apply $f $mode"
      same_file "$ref" "$work/$f-$mode-apply.wav" "lv2apply $f $mode"
      for b in 64 512 4096; do
        out=$work/$f-$mode-$b.wav
        lv2file -i "$in" -o "$out" -b $b "${lp[@]}" $QV >/dev/null 2>&1 || fail "lv2file $f $mode -b $b"
        same_file "$ref" "$out" "lv2file $f $mode -b $b"
      done
      # lv2proc, on the float file (it writes what it reads there).
      if [ $f = c32 ]; then
        pc=(); [ $mode = off ] || pc=(-c "$mode:1")
        for b in 64 4096; do
          lv2proc -i "$in" -o "$work/proc.wav" -n $b "${pc[@]}" $QV >/dev/null 2>&1 || fail "lv2proc $mode -n $b"
          same_file "$ref" "$work/proc.wav" "lv2proc $mode -n $b"
        done
      fi
    done
  done
  ;;
edges)
  # Values where a double average and a float one differ (the largest
  # floats), subnormals and opposite signs, compared bit for bit; lv2file
  # clips beyond -1..1, so it gets the same values scaled into that range.
  "$wav_as" --edge "$work/e.wav"
  "$wav_as" --edge-unit "$work/u.wav"
  for mode in off swap mono; do
    mode_args $mode
    for e in e u; do
      "$aaxhost" process "$aax" "$work/$e.wav" -o "$work/$e-aax.wav" --subtype float -q "${ap[@]}" >/dev/null
    done
    lv2apply -i "$work/e.wav" -o "$work/e-apply.wav" "${lc[@]}" $QV >/dev/null 2>&1 || fail "lv2apply edges $mode"
    "$wav_as" --same "$work/e-aax.wav" "$work/e-apply.wav" || fail "lv2apply edges $mode"
    for b in 1 7 64 512 4096; do
      lv2file -i "$work/u.wav" -o "$work/u-$b.wav" -b $b "${lp[@]}" $QV >/dev/null 2>&1 ||
        fail "lv2file edges $mode -b $b"
      "$wav_as" --same "$work/u-aax.wav" "$work/u-$b.wav" || fail "lv2file edges $mode -b $b"
    done
  done
  ;;
presets)
  sox -n -r 44100 -e float -b 32 -c 2 "$work/in.wav" synth 0.2 whitenoise synth 0.2 sine 440 2>/dev/null
  lv2file -i "$work/in.wav" -o "$work/q.wav" -P Quorvane $QV >/dev/null 2>&1 || fail "lv2file -P Quorvane"
  lv2file -i "$work/in.wav" -o "$work/q0.wav" -p swap:0 -p mono:0 $QV >/dev/null 2>&1
  same_file "$work/q0.wav" "$work/q.wav" "preset Quorvane"
  lv2file -i "$work/in.wav" -o "$work/t0.wav" $QT >/dev/null 2>&1
  while IFS='|' read -r name params; do
    read -ra p <<<"$params"
    lv2file -i "$work/in.wav" -o "$work/tp.wav" -P "$name" $QT >/dev/null 2>&1 || fail "lv2file -P '$name'"
    lv2file -i "$work/in.wav" -o "$work/tv.wav" "${p[@]}" $QT >/dev/null 2>&1
    same_file "$work/tv.wav" "$work/tp.wav" "preset $name"
  done <<<"Unity|-p gain:0 -p mode:0 -p steps:2 -p mute:0
Quiet Left|-p gain:-12 -p mode:1 -p steps:4 -p mute:0"
  # The presets differ from each other, so the comparison above means something.
  [ "$(samples "$work/tp.wav")" != "$(samples "$work/t0.wav")" ] || fail "presets sound the same"
  ;;
*) fail "unknown check $check" ;;
esac
echo "ok: $check"
