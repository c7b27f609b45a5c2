#!/usr/bin/env bash
# check_exports.sh LIBRARY VERSION_SCRIPT: the library defines exactly the symbols that the
# version script lists as global, and every one of them.
set -eu
library=$1 map=$2
listed=$(sed -n '/global:/,/local:/p' "$map" | grep -E '^\s+[A-Za-z_][A-Za-z0-9_]*;' | tr -d ' ;' | sort)
exported=$(nm -D --defined-only "$library" | awk '$2 ~ /^[TDBR]$/ {sub(/@.*/, "", $3); print $3}' | sort -u)
if [[ "$listed" != "$exported" ]]; then
  diff <(echo "$listed") <(echo "$exported") || true
  echo "the exports differ from the version script (< listed only, > exported only)"
  exit 1
fi
