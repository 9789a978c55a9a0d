#!/usr/bin/env bash
# A faulty LV2 plug-in fails validate at its level with its own line and
# passes every other check: faulty_test.sh AAXHOST BUNDLE LEVEL CHECK
# (CHECK none: a plug-in that keeps the rules, which must pass every check;
# CHECK warn:NAME: a fault no LV2 rule forbids, a warning line that leaves
# the run passing, and a failure under --strict; CHECK note:NAME: missing
# metadata, a NOTE line under --notes only, which never fails the run).
# Every run that counts is made with --notes: no other check may note.
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
elif [[ $check == note:* ]]; then
  check=${check#note:}
  out=$(run)
  status=$?
  echo "$out"
  [ "$status" = 0 ] || { echo "expected exit status 0, got $status"; exit 1; }
  ! grep -q '^NOTE' <<<"$out" || { echo "expected no NOTE line without --notes"; exit 1; }
  out=$(run --notes --strict)
  status=$?
  echo "$out"
  [ "$status" = 0 ] || { echo "expected exit status 0 under --strict, got $status"; exit 1; }
  grep -qE "^NOTE  L$level +$check .*no LV2 rule" <<<"$out" || { echo "expected $check to note"; exit 1; }
  [ "$(grep -cE '^(NOTE|WARN|FAIL)' <<<"$out")" = 1 ] || { echo "expected only $check to note"; exit 1; }
  exit 0
else
  set --
fi
out=$(run "$@" --notes)
status=$?
echo "$out"
if grep -q '^NOTE' <<<"$out"; then echo "expected no NOTE line"; exit 1; fi
if [ "$check" = none ]; then
  # Skipped for a feature the tool lacks would pass without running.
  if grep -q "requires the feature" <<<"$out"; then echo "expected every feature offered"; exit 1; fi
  exit "$status"
fi
[ "$status" = 1 ] || { echo "expected exit status 1, got $status"; exit 1; }
fails=$(grep -c '^FAIL' <<<"$out")
grep -qE "^FAIL  L$level +$check " <<<"$out" || { echo "expected $check to fail"; exit 1; }
[ "$fails" = 1 ] || { echo "expected only $check to fail, $fails checks failed"; exit 1; }
