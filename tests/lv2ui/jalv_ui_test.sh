#!/usr/bin/env bash
# Quorvane's editor in jalv.gtk3, on an Xvfb and a dummy JACK server of this
# test's own:
#  1. jalv's window shows the editor, pixel for pixel what `aaxhost editor
#     --snapshot` shows with the same settings;
#  2. a real (XTEST) click on Swap turns the plug-in's swap control on: the
#     audio through the plug-in comes out exchanged, and the switch is lit;
#  3. a state loaded with `jalv -l DIR` that holds swap on reaches the editor:
#     the switch is drawn lit.
#
#   jalv_ui_test.sh AAXHOST AAX_BUNDLE LV2_BUNDLE [--shot OUT.png]
# With --shot, jalv's window with both switches on (set with -c) is saved,
# once it matches the AAX editor's picture with the same settings (make demo).
set -euo pipefail
aaxhost=${1:?AAXHOST} aax=${2:?AAX_BUNDLE} lv2=${3:?LV2_BUNDLE}
shot=""
[ "${4:-}" = --shot ] && shot=${5:?OUT.png}
uri=urn:orvantine:quorvane
name=$(basename "$0" .sh)
die() { echo "$name: $*" >&2; exit 1; }
for t in Xvfb jackd jalv.gtk3 jack_lsp jack_connect jack_rec jack_simple_client xwininfo xwd xdotool convert sox; do
  command -v "$t" >/dev/null || die "$t is not installed (scripts/install-deps)"
done
[ -f "$lv2/Quorvane_ui.so" ] || die "no UI binary in $lv2"

work=$(mktemp -d)
pids=()
cleanup() {
  local i p
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
    p=${pids[i]}
    kill -0 "$p" 2>/dev/null || continue
    kill -TERM "$p" 2>/dev/null || true
    for _ in $(seq 50); do kill -0 "$p" 2>/dev/null || break; sleep 0.1; done
    kill -KILL "$p" 2>/dev/null || true
    wait "$p" 2>/dev/null || true
  done
  [ -n "${QV_KEEP:-}" ] && echo "kept $work" || rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP
# poll SECONDS COMMAND...: every 50 ms until it succeeds; fails after SECONDS.
poll() {
  local deadline=$((SECONDS + $1)); shift
  until "$@"; do [ $SECONDS -lt $deadline ] || return 1; sleep 0.05; done
}

# Hosts see exactly this bundle.
mkdir "$work/lv2"
ln -s "$(cd "$lv2" && pwd)" "$work/lv2/Quorvane.lv2"
export LV2_PATH=$work/lv2

# The X server picks a free display itself.
exec 8>"$work/display"
Xvfb -displayfd 8 -screen 0 640x480x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids+=($!)
exec 8>&-
poll 10 test -s "$work/display" || die "Xvfb did not start: $(cat "$work/xvfb.log")"
export DISPLAY=:$(head -n1 "$work/display")
# A server name of our own: other tests run servers at the same time.
export JACK_DEFAULT_SERVER="qv_jalvui_$$_$RANDOM"
export JACK_NO_AUDIO_RESERVATION=1
jackd -n "$JACK_DEFAULT_SERVER" --no-realtime --sync -t 5000 -d dummy -r 48000 -p 256 -C 2 -P 2 \
  >"$work/jackd.log" 2>&1 &
pids+=($!)
# Should this shell be killed outright, the servers still go.
(while kill -0 $$ 2>/dev/null; do sleep 1; done; kill "${pids[0]}" "${pids[1]}" 2>/dev/null) >/dev/null 2>&1 &
pids+=($!)
poll 15 eval 'jack_lsp >/dev/null 2>&1' || die "jackd did not start: $(cat "$work/jackd.log")"
jack_simple_client qvsrc >"$work/src.log" 2>&1 &
pids+=($!)
poll 10 eval 'jack_lsp | grep -qx qvsrc:output2' || die "the sine client did not start"

# The AAX editor's pictures, as references: both off, Swap on, both on.
"$aaxhost" editor "$aax" --snapshot "$work/ref-off.png" >/dev/null
"$aaxhost" editor "$aax" --param Swap=on --snapshot "$work/ref-swap.png" >/dev/null
"$aaxhost" editor "$aax" --param Swap=on --param Mono=on --snapshot "$work/ref-both.png" >/dev/null
for r in off swap both; do convert "$work/ref-$r.png" -depth 8 "rgb:$work/ref-$r.rgb"; done

jalv_pid="" editor=""
# start_jalv CLIENT ARGS...: jalv.gtk3 with its GUI; finds the editor's window.
start_jalv() {
  local client=$1; shift
  jalv.gtk3 -n "$client" -x "$@" "$uri" >"$work/$client.out" 2>&1 &
  jalv_pid=$!
  pids+=("$jalv_pid")
  # The editor is the innermost 190 x 120 window (jalv's own windows around
  # it take its size) and has no children.
  find_editor() {
    editor=$(xwininfo -root -tree 2>/dev/null | awk '/ 190x120\+/ {w=$1} END {print w}')
    [ -n "$editor" ] && xwininfo -children -id "$editor" 2>/dev/null | grep -q '0 children'
  }
  poll 20 find_editor || { cat "$work/$client.out" >&2; die "jalv.gtk3 shows no 190x120 editor"; }
}
stop_jalv() { kill -TERM "$jalv_pid" 2>/dev/null; poll 10 eval "! kill -0 $jalv_pid 2>/dev/null" || die "jalv did not exit"; }
# shows REF: the editor's window holds exactly the reference picture.
shows() {
  xwd -silent -id "$editor" >"$work/shot.xwd" 2>/dev/null || return 1
  convert "xwd:$work/shot.xwd" -depth 8 "rgb:$work/shot.rgb" 2>/dev/null || return 1
  cmp -s "$work/shot.rgb" "$work/ref-$1.rgb"
}
# exchanged yes|no: a second through the plug-in, compared sample for sample.
exchanged() {
  local ins outs c
  mapfile -t ins < <(jack_lsp -p jq: | awk '/^[^\t]/ {p=$0} /properties: input/ {print p}')
  mapfile -t outs < <(jack_lsp -p jq: | awk '/^[^\t]/ {p=$0} /properties: output/ {print p}')
  [ ${#ins[@]} -ge 2 ] && [ ${#outs[@]} -ge 2 ] || die "jalv has no stereo audio ports"
  jack_connect qvsrc:output1 "${ins[0]}" 2>/dev/null || true
  jack_connect qvsrc:output2 "${ins[1]}" 2>/dev/null || true
  timeout 20 jack_rec -f "$work/take.wav" -d 1 -b 32 -B 65536 qvsrc:output1 qvsrc:output2 \
    "${outs[0]}" "${outs[1]}" >"$work/rec.log" 2>&1 || die "jack_rec failed: $(cat "$work/rec.log")"
  for c in 1 2 3 4; do sox "$work/take.wav" -t s32 "$work/c$c" trim 0.1 remix $c; done
  if [ "$1" = yes ]; then cmp -s "$work/c1" "$work/c4" && cmp -s "$work/c2" "$work/c3"
  else cmp -s "$work/c1" "$work/c3" && cmp -s "$work/c2" "$work/c4"; fi
}

if [ -n "$shot" ]; then
  start_jalv jq -c swap=1 -c mono=1
  poll 20 shows both || die "the editor in jalv never matched the AAX editor (both on)"
  # jalv's top-level window: the editor's ancestor just below the root.
  root=$(xwininfo -root | awk '/Window id:/ {print $4}')
  top=$editor
  while :; do
    up=$(xwininfo -children -id "$top" | awk '/Parent window id:/ {print $4}')
    [ "$up" = "$root" ] && break
    top=$up
  done
  xwd -silent -id "$top" | convert xwd:- "$shot"
  echo "$shot: Quorvane's editor in jalv.gtk3"
  exit 0
fi

# 1 and 2: the picture, then a click on Swap.
start_jalv jq
poll 20 shows off || die "jalv's editor differs from aaxhost editor --snapshot (both off)"
exchanged no || die "with Swap off the audio came out exchanged"
xdotool mousemove --window "$editor" 24 50 click 1
poll 10 shows swap || die "the click on Swap did not light the switch"
exchanged yes || die "after the click on Swap the plug-in's outputs are not its inputs exchanged"
stop_jalv

# 3. A state that holds Swap on, loaded by the host.
mkdir "$work/state"
cat >"$work/state/manifest.ttl" <<TTL
@prefix lv2: <http://lv2plug.in/ns/lv2core#> .
@prefix pset: <http://lv2plug.in/ns/ext/presets#> .
@prefix rdfs: <http://www.w3.org/2000/01/rdf-schema#> .
<state.ttl> a pset:Preset ; lv2:appliesTo <$uri> ; rdfs:seeAlso <state.ttl> .
TTL
cat >"$work/state/state.ttl" <<TTL
@prefix lv2: <http://lv2plug.in/ns/lv2core#> .
@prefix pset: <http://lv2plug.in/ns/ext/presets#> .
<> a pset:Preset ; lv2:appliesTo <$uri> ;
  lv2:port [ lv2:symbol "swap" ; pset:value 1.0 ] , [ lv2:symbol "mono" ; pset:value 0.0 ] .
TTL
start_jalv jq -l "$work/state"
poll 20 shows swap || die "the state loaded with -l (swap on) did not reach the editor"
exchanged yes || die "the state loaded with -l did not switch Swap on"
stop_jalv
echo "$name: passed"
