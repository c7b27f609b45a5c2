#!/usr/bin/env bash
# single_instance.sh PICTAVELLA3: a second normal start hands its two files to the running
# instance, each as an absolute path, and ends without a window of its own; an unattended run
# beside it runs on its own; a start after the first has ended runs normally again.
set -u
app=$1
dir=$(mktemp -d)
export HOME=$dir XDG_RUNTIME_DIR=$dir/run XDG_CONFIG_HOME=$dir/config QT_QPA_PLATFORM=offscreen PICTAVELLA_DEBUG=1
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
first=
cleanup() { [[ -n $first ]] && kill "$first" 2>/dev/null; wait 2>/dev/null; rm -rf "$dir"; }
trap cleanup EXIT
fail=0
wait_for() { for _ in $(seq 100); do eval "$1" && return 0; sleep 0.1; done; return 1; }

cd "$dir"
"$app" first.pe3 2>"$dir/first.log" &
first=$!
wait_for '[[ -S $XDG_RUNTIME_DIR/pictavella3.socket ]] && grep -q "open $dir/first.pe3" "$dir/first.log"' ||
    { echo "the first instance did not start listening and open its file"; cat "$dir/first.log"; fail=1; }
timeout 10 "$app" one.pe3 sub/two.pe3 2>"$dir/second.log"
status=$?
[[ $status -eq 0 ]] || { echo "the second start: status $status"; cat "$dir/second.log"; fail=1; }
wait_for 'grep -q "open $dir/sub/two.pe3" "$dir/first.log"' || { echo "the files did not arrive"; fail=1; }
grep -q "open $dir/one.pe3" "$dir/first.log" || { echo "one.pe3 did not arrive"; fail=1; }
grep -q "open" "$dir/second.log" && { echo "the second start opened files itself"; fail=1; }
out=$(timeout 10 "$app" -viewer "$dir/none.pe3" 2>/dev/null)
[[ $out == 10 ]] || { echo "an unattended run beside the instance: '$out'"; fail=1; }

kill "$first"; wait "$first" 2>/dev/null; first=
"$app" again.pe3 2>"$dir/again.log" &
first=$!
wait_for 'grep -q "open $dir/again.pe3" "$dir/again.log"' || { echo "a later start did not run on its own"; cat "$dir/again.log"; fail=1; }
exit $fail
