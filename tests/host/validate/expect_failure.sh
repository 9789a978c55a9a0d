#!/bin/sh
# expect_failure.sh LINE COMMAND...: COMMAND must exit with status 1 and print
# a line matching the extended regular expression LINE.
line=$1
shift
out=$("$@" 2>&1)
status=$?
printf '%s\n' "$out"
if [ "$status" -ne 1 ]; then
  echo "expected exit status 1, got $status" >&2
  exit 1
fi
if ! printf '%s\n' "$out" | grep -Eq -- "$line"; then
  echo "no line matches: $line" >&2
  exit 1
fi
