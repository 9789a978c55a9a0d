#!/usr/bin/env bash
# A faulty LV2 plug-in fails validate at its level with its own line and
# passes every other check: faulty_test.sh AAXHOST BUNDLE LEVEL CHECK
# (CHECK none: a plug-in that keeps the rules, which must pass every check;
# CHECK warn:NAME: a fault no LV2 rule forbids, a warning line that leaves
# the run passing, and a failure under --strict)
set -uo pipefail
tool=$1 bundle=$2 level=$3 check=$4
run() { "$tool" validate --level "$level" --skip-gui --seed 1 --timeout 20 "$@" "$bundle"; }
if [[ $check == warn:* ]]; then
  check=${check#warn:}
  out=$(run)
  status=$?
  echo "$out"
  [ "$status" = 0 ] || { echo "expected exit status 0 without --strict, got $status"; exit 1; }
  grep -qE "^WARN  L$level +$check .*no LV2 rule" <<<"$out" || { echo "expected $check to warn"; exit 1; }
  [ "$(grep -cE '^(WARN|FAIL)' <<<"$out")" = 1 ] || { echo "expected only $check to warn"; exit 1; }
  set -- --strict
else
  set --
fi
out=$(run "$@")
status=$?
echo "$out"
if [ "$check" = none ]; then
  # Skipped for a feature the tool lacks would pass without running.
  if grep -q "requires the feature" <<<"$out"; then echo "expected every feature offered"; exit 1; fi
  exit "$status"
fi
[ "$status" = 1 ] || { echo "expected exit status 1, got $status"; exit 1; }
fails=$(grep -c '^FAIL' <<<"$out")
grep -qE "^FAIL  L$level +$check " <<<"$out" || { echo "expected $check to fail"; exit 1; }
[ "$fails" = 1 ] || { echo "expected only $check to fail, $fails checks failed"; exit 1; }
