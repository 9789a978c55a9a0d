#!/usr/bin/env bash
# make validate-corpus: aaxhost validate over every LV2 plug-in on this
# machine (lv2ls), two at a time, each plug-in in its own tool process with
# a time limit on top of validate's per-check one. Writes
# BUILD/corpus/report.json and BUILD/corpus/report.md. A second pass runs
# the level-5 X11 UI check alone on each plug-in (on the tool's own Xvfb;
# CORPUS_GUI=0 leaves it out).
#   validate-corpus.sh BUILD_DIR [LEVEL] [JOBS]
set -euo pipefail
build=${1:?build directory}
level=${2:-9}
jobs=${3:-2}
out=$build/corpus
here=$(cd "$(dirname "$0")" && pwd)
[ -x "$build/bin/aaxhost" ] || { echo "validate-corpus: $build/bin/aaxhost is not built" >&2; exit 1; }
command -v lv2ls >/dev/null || { echo "validate-corpus: lv2ls (lilv-utils) is missing" >&2; exit 1; }
rm -rf "$out/runs"
mkdir -p "$out/runs"
# A copy of its own, so a rebuild during the run changes nothing.
tool=$out/aaxhost
cp "$build/bin/aaxhost" "$tool"
# CORPUS_URIS: a file of URIs to run instead of every one (one a line).
if [ -n "${CORPUS_URIS:-}" ]; then cp "$CORPUS_URIS" "$out/uris.txt"; else lv2ls > "$out/uris.txt"; fi
echo "validate-corpus: $(wc -l < "$out/uris.txt") plug-ins, level $level, $jobs at a time"
start=$(date +%s)
# One file per plug-in, named by its line number; an empty or broken file
# means the tool itself failed on it, which the report counts apart.
export tool level out
run_one() {
  local n=$1 uri=$2
  local f=$out/runs/$n.json
  printf '%s\n' "$uri" > "$out/runs/$n.uri"
  timeout -k 5 900 "$tool" validate --level "$level" --skip-gui --seed 1 --timeout 20 --json \
    "$uri" > "$f" 2> "$out/runs/$n.err" || true
}
export -f run_one
nl -ba -w1 -s' ' "$out/uris.txt" | xargs -P "$jobs" -L 1 bash -c 'run_one "$0" "$1"'
end=$(date +%s)
gui_seconds=-1
if [ "${CORPUS_GUI:-1}" != 0 ]; then
  echo "validate-corpus: the X11 UI check alone on each plug-in"
  run_gui() {
    local n=$1 uri=$2
    timeout -k 5 300 "$tool" validate --only lv2-ui-x11 --seed 1 --timeout 30 --json \
      "$uri" > "$out/runs/$n.gui.json" 2> "$out/runs/$n.gui.err" || true
  }
  export -f run_gui
  nl -ba -w1 -s' ' "$out/uris.txt" | xargs -P "$jobs" -L 1 bash -c 'run_gui "$0" "$1"'
  gui_seconds=$(($(date +%s) - end))
fi
python3 "$here/corpus-report.py" "$out" "$((end - start))" "$gui_seconds"
