#!/usr/bin/env bash
# make demo: the product's main job on its built-in signal, through the real
# module bundle and the aaxhost tool, on a machine with or without a display.
#   Host/tool/demo.sh BUILD_DIR
set -euo pipefail
build=${1:-build}
tool=$build/bin/aaxhost
bundle=$build/Quorvane.aaxplugin
out=$build/demo
mkdir -p "$out"

step() { printf '\n== %s\n' "$*"; }

step "built-in test signal"
"$tool" testsignal "$out/input.wav"
"$tool" testsignal --swapped "$out/expected-swap.wav" >/dev/null

step "aaxhost describe $bundle"
"$tool" describe "$bundle"

step "aaxhost params $bundle"
"$tool" params "$bundle"

step "render with Swap on, and with Mono on"
"$tool" process "$bundle" "$out/input.wav" -o "$out/swap.wav" --param Swap=on
"$tool" process "$bundle" "$out/input.wav" -o "$out/mono.wav" --param Mono=on

step "did Swap exchange the channels exactly? (diff against the input with left and right exchanged)"
"$tool" diff "$out/swap.wav" "$out/expected-swap.wav"

step "editor with both switches on"
"$tool" editor "$bundle" --param Swap=on --param Mono=on --snapshot "$out/editor.png"

step "the same editor as an LV2 UI, in jalv.gtk3 (its own Xvfb and dummy JACK server)"
lv2_editor="(not made: see the message above)"
if bash "$(dirname "$0")/../../tests/lv2ui/jalv_ui_test.sh" "$tool" "$bundle" "$build/Quorvane.lv2" \
  --shot "$out/editor-lv2.png"; then
  lv2_editor="$out/editor-lv2.png"
fi

cat <<SUMMARY

== summary
  module bundle   $bundle
  tool            $tool  (aaxhost --help; Host/README.md)
  input           $out/input.wav     left 441 Hz at 0.5, right 882 Hz at 0.25
  Swap on         $out/swap.wav      left and right exchanged, bit for bit
  Mono on         $out/mono.wav      both channels the average of left and right
  editor          $out/editor.png    both switches lit
  LV2 editor      $lv2_editor   Quorvane in jalv.gtk3, both switches lit
SUMMARY
