#!/usr/bin/env bash
# expect_run.sh STATUS STREAM PATTERN COMMAND...: runs COMMAND and passes when it exits with
# STATUS, STREAM (stdout or stderr) matches the extended regular expression PATTERN, and the
# other stream is empty.
set -u
want_status=$1 stream=$2 pattern=$3
shift 3
out=$(mktemp) err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT
QT_QPA_PLATFORM=offscreen "$@" >"$out" 2>"$err" </dev/null
status=$?
if [[ $stream == stdout ]]; then hit=$out other=$err; else hit=$err other=$out; fi
fail=0
[[ $status -eq $want_status ]] || { echo "exit status $status, expected $want_status"; fail=1; }
grep -Eq -- "$pattern" "$hit" || { echo "$stream does not match: $pattern"; fail=1; }
[[ -s $other ]] && { echo "unexpected output on the other stream:"; cat "$other"; fail=1; }
if [[ $fail -ne 0 ]]; then echo "--- stdout"; cat "$out"; echo "--- stderr"; cat "$err"; fi
exit $fail
