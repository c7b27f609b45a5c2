#!/usr/bin/env bash
# install_into_prefix.sh BUILD_DIR VERSION: installs the build into a fresh prefix, moves the
# prefix elsewhere, and checks that the installed programs still start and find their library.
set -eu
build=$1 version=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cmake --install "$build" --prefix "$work/first" >/dev/null
mv "$work/first" "$work/moved"
prefix=$work/moved
for f in bin/pvtool lib/libpixkit.so.1 include/pixkit.h lib/pkgconfig/pixkit.pc; do
  [[ -e $prefix/$f ]] || { echo "missing after install: $f"; exit 1; }
done
[[ -d $prefix/share/pictavella3 ]] || { echo "missing after install: share/pictavella3"; exit 1; }
out=$(env -u LD_LIBRARY_PATH "$prefix/bin/pvtool" --version)
[[ $out == "pvtool (Pictavella3) $version" ]] || { echo "installed pvtool said: $out"; exit 1; }
