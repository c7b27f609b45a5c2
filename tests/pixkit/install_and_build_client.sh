#!/usr/bin/env bash
# install_and_build_client.sh BUILD_DIR CLIENT_SOURCE CC [EXTRA_FLAGS]: installs pixkit into a
# fresh prefix, moves the prefix, builds a C program against it with pkg-config and runs it.
set -eu
build=$1 source=$2 cc=$3 extra=${4:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cmake --install "$build" --component pixkit --prefix "$work/first" >/dev/null
mv "$work/first" "$work/prefix"
export PKG_CONFIG_PATH=$work/prefix/lib/pkgconfig
flags=$(pkg-config --cflags --libs pixkit)
# shellcheck disable=SC2086
"$cc" -std=c99 -Wall -Wextra -Werror $extra "$source" -o "$work/client" $flags -Wl,-rpath,"$work/prefix/lib"
"$work/client"
