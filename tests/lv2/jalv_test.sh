#!/usr/bin/env bash
# The plug-in in jalv (console) on a private JACK server with the dummy driver:
# it loads and runs, and its channels come out exchanged after `-c SYM=ON`,
# after the console command `set SYM ON`, and after `-l DIR` with a state
# saved with SYM=ON (its port values, and with --state plugin the plug-in's
# own state too; --state ports is for plug-ins without a state interface).
# With --state plugin, also after `-l DIR` with a state whose port value says
# off while the plug-in's own state says on: the port wins (the ports are what
# a host shows, sets and saves), straight audio, and `set SYM ON` /
# `set SYM OFF` then exchange and straighten it again.
# The audio is checked, not only jalv's printed controls: a sine client feeds
# two different signals, and jack_rec takes the source and the plug-in's
# outputs in the same cycle, so exchanged means equal sample for sample.
#
#   jalv_test.sh --uri URI --control SYM --on VALUE [--off VALUE] [--bundle PATH]
#                --saver PATH/lv2_save_state [--state plugin|ports]
set -euo pipefail
. "$(dirname "$0")/host_common.sh"
parse_common "$@"
saver="" state_mode=plugin
set -- "${qv_rest[@]+"${qv_rest[@]}"}"
while [ $# -gt 0 ]; do
  case "$1" in
    --saver) saver=${2:?}; shift 2 ;;
    --state) state_mode=${2:?}; shift 2 ;;
    *) die "unknown option $1" ;;
  esac
done
[ -x "$saver" ] || die "needs --saver, the lv2_save_state program"
need jackd jalv jack_wait jack_lsp jack_connect jack_rec jack_simple_client sox

work=$(mktemp -d)
pids=()
cleanup() {
  local i
  exec 7>&- 2>/dev/null || true
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do stop_pid "${pids[i]}"; done
  [ -n "${QV_KEEP:-}" ] || rm -rf "$work"; [ -z "${QV_KEEP:-}" ] || echo "kept $work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP
search_path "$work/search"

# A server name of our own: other tests and engineers run servers at the same time.
export JACK_DEFAULT_SERVER="qv_jalv_$$_$RANDOM"
export JACK_NO_AUDIO_RESERVATION=1
jackd -n "$JACK_DEFAULT_SERVER" --no-realtime --sync -t 5000 -d dummy -r 48000 -p 256 -C 2 -P 2 \
  >"$work/jackd.log" 2>&1 &
pids+=($!)
# Should this shell be killed outright (no trap runs), the server still goes:
# the watchdog ends it once the shell is gone, and its clients follow it.
(while kill -0 $$ 2>/dev/null; do sleep 1; done; kill "${pids[0]}" 2>/dev/null) >/dev/null 2>&1 &
pids+=($!)
poll 15 eval 'jack_lsp >/dev/null 2>&1' || { cat "$work/jackd.log" >&2; die "jackd did not start"; }

jack_simple_client qvsrc >"$work/src.log" 2>&1 &
pids+=($!)
poll 10 eval 'jack_lsp | grep -qx qvsrc:output2' || die "the sine client did not start"

on_text=$(printf '%f' "$on_value") off_text=$(printf '%f' "$off_value")
jalv_pid=""
# start_jalv NAME ARGS...: jalv as client NAME, reading console commands from fd 7.
start_jalv() {
  local name=$1; shift
  rm -f "$work/cmd"; mkfifo "$work/cmd"
  stdbuf -oL jalv -n "$name" -x "$@" <"$work/cmd" >"$work/$name.out" 2>&1 &
  jalv_pid=$!
  pids+=("$jalv_pid")
  exec 7>"$work/cmd"
  # jalv prints every control once the plug-in runs (stdbuf: its stdout is a
  # file here, which would otherwise hold the lines back until exit).
  poll 15 eval "grep -q '^$control = ' '$work/$name.out' || ! kill -0 $jalv_pid 2>/dev/null"
  grep -q "^$control = " "$work/$name.out" ||
    { cat "$work/$name.out" >&2; die "jalv did not load $uri (jalv $*)"; }
  # Audio ports in index order: the first two inputs, the first two outputs.
  mapfile -t ins < <(jack_lsp -p "$name:" | awk '/^[^\t]/ {p=$0} /properties: input/ {print p}')
  mapfile -t outs < <(jack_lsp -p "$name:" | awk '/^[^\t]/ {p=$0} /properties: output/ {print p}')
  [ ${#ins[@]} -ge 2 ] && [ ${#outs[@]} -ge 2 ] || die "jalv's client $name has no stereo audio ports"
  jack_connect qvsrc:output1 "${ins[0]}"
  jack_connect qvsrc:output2 "${ins[1]}"
}
stop_jalv() {
  exec 7>&-  # end of input: jalv closes down by itself
  poll 10 eval "! kill -0 $jalv_pid 2>/dev/null" || die "jalv did not exit at the end of its input"
}

# set_control NAME VALUE: the console command `set SYM VALUE`, done once jalv
# has printed the control again (after its prompt, "> "), with that value.
printed() { grep -Eo "(^|> )$control = \S+" "$work/$1.out" | sed 's/^> //'; }
printed_since() { # NAME COUNT LINE: more than COUNT control lines printed, the last one LINE
  [ "$(printed "$1" | wc -l)" -gt "$2" ] && [ "$(printed "$1" | tail -1)" = "$3" ]
}
set_control() {
  local before
  before=$(printed "$1" | wc -l)
  echo "set $control $2" >&7
  poll 10 printed_since "$1" "$before" "$control = $(printf '%f' "$2")" ||
    die "$1: jalv did not take 'set $control $2' (it printed: $(printed "$1" | tail -1))"
}

# expect_audio NAME exchanged|straight WHAT: a second through the plug-in
# (jack_rec takes whole seconds only).
take=0
expect_audio() {
  local name=$1 want=$2
  take=$((take + 1))
  local wav="$work/take$take.wav"
  # A ring buffer larger than the take: a slow disk thread cannot drop frames.
  timeout 20 jack_rec -f "$wav" -d 1 -b 32 -B 65536 qvsrc:output1 qvsrc:output2 "${outs[0]}" "${outs[1]}" \
    >"$work/rec.log" 2>&1 || { cat "$work/rec.log" >&2; die "jack_rec failed"; }
  if grep -qi overrun "$work/rec.log"; then cat "$work/rec.log" >&2; die "jack_rec dropped frames"; fi
  # The first tenth of a second may predate jack_rec's last connection.
  local c
  for c in 1 2 3 4; do channel "$wav" "$c" "$work/c$c" 0.1; done
  same_samples "$work/c1" "$work/c2" && die "the source's two channels are equal; the check would prove nothing"
  if [ "$want" = exchanged ]; then
    same_samples "$work/c2" "$work/c3" && same_samples "$work/c1" "$work/c4" ||
      die "$name: outputs are not the inputs exchanged ($3)"
  else
    same_samples "$work/c1" "$work/c3" && same_samples "$work/c2" "$work/c4" ||
      die "$name: outputs are not the inputs unchanged ($3)"
  fi
}

# 1. -c SYM=ON before the plug-in runs.
start_jalv qvc -c "$control=$on_value" "$uri"
grep -qx "$control = $on_text" "$work/qvc.out" || die "jalv -c $control=$on_value: jalv printed $(grep "^$control = " "$work/qvc.out")"
expect_audio qvc exchanged "jalv -c $control=$on_value"
stop_jalv

# 2. The console's set command while it runs.
start_jalv qvset -c "$control=$off_value" "$uri"
expect_audio qvset straight "jalv -c $control=$off_value"
echo "set $control $on_value" >&7
poll 10 eval "grep -q '$control = $on_text' '$work/qvset.out'" || die "jalv did not take 'set $control $on_value'"
expect_audio qvset exchanged "console command: set $control $on_value"
stop_jalv

# 3. A saved state loaded with -l.
# port_value DIR: the value of SYM's port saved in DIR/state.ttl.
port_value() {
  awk -v sym="\"$control\"" '$1 == "lv2:symbol" && $2 == sym {s=1; next}
    s && $1 == "pset:value" {print $2 + 0; exit}' "$1/state.ttl"
}
# plugin_state DIR: the plug-in's own state saved in DIR/state.ttl.
plugin_state() { sed -n '/^\tstate:state \[/,/\]/p' "$1/state.ttl"; }
timeout 60 "$saver" "$uri" "$work/state" "$control=$on_value" || die "could not save a state"
[ "$(port_value "$work/state")" = "$(awk -v v="$on_value" 'BEGIN {print v + 0}')" ] ||
  die "the state in $work/state holds no port value $control=$on_value"
[ "$state_mode" != plugin ] || [ -n "$(plugin_state "$work/state")" ] ||
  die "the state in $work/state holds no state of the plug-in's own"
start_jalv qvload -l "$work/state"
expect_audio qvload exchanged "jalv -l with a state saved with $control=$on_value"
stop_jalv

# 4. A state whose port value says OFF while the plug-in's own state says ON,
# as a host saves it when the control changed while no run saw the change. The
# port is what jalv shows, sets and saves, so the audio follows it: straight
# at once, exchanged after `set SYM ON`, straight again after `set SYM OFF`.
if [ "$state_mode" = plugin ]; then
  timeout 60 "$saver" "$uri" "$work/split" "$control=$on_value" --port "$control=$off_value" ||
    die "could not save a state with the port value $control=$off_value"
  # The plug-in's own state is step 3's (saved with ON, which exchanged), the port's value OFF.
  [ "$(plugin_state "$work/split")" = "$(plugin_state "$work/state")" ] ||
    die "the plug-in's own state in $work/split is not the one saved with $control=$on_value"
  [ "$(port_value "$work/split")" = "$(awk -v v="$off_value" 'BEGIN {print v + 0}')" ] ||
    die "the state in $work/split holds no port value $control=$off_value"
  start_jalv qvport -l "$work/split"
  grep -qx "$control = $off_text" "$work/qvport.out" ||
    die "jalv -l with the port at $control=$off_value: jalv printed $(grep "^$control = " "$work/qvport.out")"
  expect_audio qvport straight "jalv -l with the port at $control=$off_value, the plug-in's state at $on_value"
  set_control qvport "$on_value"
  expect_audio qvport exchanged "after jalv -l, console command: set $control $on_value"
  set_control qvport "$off_value"
  expect_audio qvport straight "after jalv -l, console command: set $control $off_value"
  stop_jalv
fi
note "jalv loaded $uri; -c, set and -l each exchanged the channels"
[ "$state_mode" != plugin ] || note "a loaded port value overrode the plug-in's own state; set followed it both ways"
