#!/usr/bin/env bash
# seal_copy.sh PVTOOL RECORDING: a sealed copy is sealed, the original is not, and a sealed
# recording cannot be sealed again.
set -u
pvtool=$1 recording=$2
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail=0
"$pvtool" seal "$recording" "$dir/sealed.pe3" || { echo "seal failed"; fail=1; }
"$pvtool" info "$dir/sealed.pe3" | grep -qx 'sealed: yes' || { echo "the copy is not sealed"; fail=1; }
"$pvtool" info "$recording" | grep -qx 'sealed: no' || { echo "the original changed"; fail=1; }
"$pvtool" check "$dir/sealed.pe3" | grep -qx 'ok' || { echo "the copy does not check"; fail=1; }
"$pvtool" seal "$dir/sealed.pe3" "$dir/again.pe3" 2>/dev/null
[[ $? -eq 1 ]] || { echo "sealing twice was not refused"; fail=1; }
[[ -e $dir/again.pe3 ]] && { echo "a refused seal wrote a file"; fail=1; }
exit $fail
