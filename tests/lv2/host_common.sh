# Shared by the host tests (sourced): argument parsing, the plug-in search
# path, polling with a deadline, and exact channel comparison with sox.
#
# The tests take the plug-in under test as options, so the same mechanics run
# against any stereo plug-in that can exchange its channels:
#   --uri URI        the plug-in
#   --control SYM    the input control that switches the exchange on
#   --on VALUE       the control's value for "exchange the channels"
#   --off VALUE      its value for "leave them as they are" (default 0)
#   --bundle PATH    a bundle folder, or the folder holding bundles, put first on LV2_PATH

qv_name=$(basename "$0" .sh)
die() { echo "$qv_name: $*" >&2; exit 1; }
note() { echo "$qv_name: $*"; }

uri="" control="" on_value="" off_value=0 bundle=""
# Parses the common options; the caller's own options come back in qv_rest.
qv_rest=()
parse_common() {
  while [ $# -gt 0 ]; do
    case "$1" in
      --uri) uri=${2:?}; shift 2 ;;
      --control) control=${2:?}; shift 2 ;;
      --on) on_value=${2:?}; shift 2 ;;
      --off) off_value=${2:?}; shift 2 ;;
      --bundle) bundle=${2:?}; shift 2 ;;
      *) qv_rest+=("$1"); shift ;;
    esac
  done
  [ -n "$uri" ] && [ -n "$control" ] && [ -n "$on_value" ] || die "needs --uri, --control and --on"
  if [ -n "$bundle" ]; then
    [ -d "$bundle" ] || die "no bundle folder at $bundle"
    bundle=$(cd "$bundle" && pwd)
  fi
}

# search_path DIR: puts the bundle first on LV2_PATH. LV2_PATH lists folders
# that hold bundles; a bundle is put there through a folder of its own (DIR)
# holding only a link to it, since a build tree as the entry would have lilv
# try every folder in it.
search_path() {
  [ -n "$bundle" ] || return 0
  local first=$bundle
  if [ -f "$bundle/manifest.ttl" ]; then
    mkdir -p "$1"
    ln -sfn "$bundle" "$1/$(basename "$bundle")"
    first=$1
  fi
  export LV2_PATH="$first:${LV2_PATH:-${HOME:+$HOME/.lv2:}/usr/local/lib/lv2:/usr/lib/lv2}"
}

need() { for t in "$@"; do command -v "$t" >/dev/null || die "$t is not installed (scripts/install-deps)"; done; }

# poll SECONDS COMMAND...: runs COMMAND every 50 ms until it succeeds; fails
# when SECONDS pass first.
poll() {
  local deadline=$((SECONDS + $1)); shift
  until "$@"; do
    [ $SECONDS -lt $deadline ] || return 1
    sleep 0.05
  done
}

# stop_pid PID: asks the process to end, and kills it if it has not within 5 s.
stop_pid() {
  local pid=$1
  kill -0 "$pid" 2>/dev/null || return 0
  kill -TERM "$pid" 2>/dev/null || true
  poll 5 eval "! kill -0 $pid 2>/dev/null" || kill -KILL "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
}

# channel FILE N OUT [SKIP]: channel N of FILE from SKIP seconds on as raw
# 32-bit integers, the bytes the comparisons below use.
channel() {
  sox "$1" -t s32 "$3" trim "${4:-0}" remix "$2" 2>/dev/null || die "sox could not read channel $2 of $1"
}

# same_samples A B: the two raw files hold identical samples, and at least a
# quarter second of 48 kHz audio, so an empty take cannot pass.
same_samples() {
  [ "$(stat -c %s "$1")" -ge 48000 ] || die "$1 holds less than a quarter second"
  cmp -s "$1" "$2"
}
