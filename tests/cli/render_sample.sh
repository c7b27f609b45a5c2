#!/usr/bin/env bash
# render_sample.sh PICTAVELLA3 PVTOOL SAMPLE: pictavella3 -render and -viewer on the project's
# sample recording, without any display: the picture and a sealed copy with a scrambled
# thumbnail are written, the result code is printed and written to -W; the sealed copy is
# refused by -render (11, sample.prt) but played by -viewer (13); a damaged file gives 10 and
# leaves name.bad; an unknown switch is reported and the run goes on; rendering into the
# input's own folder would replace the input (9).
set -u
app=$1 pvtool=$2 sample=$3
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail=0
run() { env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM= "$app" "$@"; }
out=$(run -render "-O$dir/out" -W3 "$sample" 3>"$dir/fd" 2>"$dir/err")
status=$?
[[ $status -eq 0 && $out == 8 ]] || { echo "render: status $status, output '$out'"; cat "$dir/err"; fail=1; }
[[ $(cat "$dir/fd") == 8 ]] || { echo "render: descriptor got '$(cat "$dir/fd")'"; fail=1; }
[[ -s $dir/out/sample.bmp ]] || { echo "no sample.bmp"; fail=1; }
"$pvtool" info "$dir/out/sample.pe3" >"$dir/info" || { echo "the copy does not read"; fail=1; }
grep -qx 'sealed: yes' "$dir/info" || { echo "the copy is not sealed"; cat "$dir/info"; fail=1; }
grep -q 'form 2' "$dir/info" || { echo "the copy has no scrambled thumbnail"; cat "$dir/info"; fail=1; }
out=$(run -RENDER "-O$dir/again" "$dir/out/sample.pe3" 2>/dev/null)
status=$?
[[ $status -eq 11 && $out == 11 && -e $dir/again/sample.prt ]] || { echo "sealed render: $status '$out'"; fail=1; }
out=$(run -viewer "$dir/out/sample.pe3" 2>/dev/null)
status=$?
[[ $status -eq 0 && $out == 13 ]] || { echo "sealed viewer: $status '$out'"; fail=1; }
printf 'PEVP' >"$dir/broken.pe3"
out=$(run -render "$dir/broken.pe3" 2>/dev/null)
status=$?
[[ $status -eq 10 && $out == 10 && -e $dir/broken.bad ]] || { echo "damaged: $status '$out'"; fail=1; }
out=$(run -render -bogus "-O$dir/out" "$sample" 2>"$dir/err")
status=$?
[[ $status -eq 0 && $out == 8 ]] || { echo "an unknown switch stopped the run: $status '$out'"; fail=1; }
grep -q 'unknown command line switch!' "$dir/err" || { echo "no warning for -bogus"; cat "$dir/err"; fail=1; }
cp "$sample" "$dir/own.pe3"
out=$(run -render "$dir/own.pe3" 2>/dev/null)
status=$?
[[ $status -eq 9 && $out == 9 ]] || { echo "into its own folder: $status '$out'"; fail=1; }
cmp -s "$sample" "$dir/own.pe3" || { echo "the input was written over"; fail=1; }
exit $fail
