#!/usr/bin/env bash
# Installs a built tree to a fresh prefix and uses it as an outside program would: the
# installed vistal-render runs from there with no library path set, and the consumer is
# built against the CMake package and against the pkg-config file.
# Usage: check-package.sh BUILD_DIR [extra cmake arguments]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$1" && pwd)
shift
prefix="$build/install"
rm -rf "$prefix" "$build/consumer"
cmake --install "$build" --prefix "$prefix" >/dev/null

# Only public headers are installed.
if find "$prefix/include" -path '*/Implementation/*' | grep -q .; then
  echo "internal headers were installed:" >&2
  find "$prefix/include" -path '*/Implementation/*' >&2
  exit 1
fi

env -u LD_LIBRARY_PATH "$prefix/bin/vistal-render" --size 64x48 --output "$build/installed-render.png"

cmake -S "$root/examples/consumer" -B "$build/consumer" -G Ninja -DCMAKE_PREFIX_PATH="$prefix" "$@" >/dev/null
cmake --build "$build/consumer"
env -u LD_LIBRARY_PATH "$build/consumer/vistal-consumer"

# The same program through pkg-config.
PKG_CONFIG_PATH="$prefix/lib/pkgconfig" pkg-config --exists vistal
# shellcheck disable=SC2046
c++ -o "$build/consumer/vistal-consumer-pc" "$root/examples/consumer/main.cpp" \
  $(PKG_CONFIG_PATH="$prefix/lib/pkgconfig" pkg-config --cflags --libs vistal) -Wl,-rpath,"$prefix/lib"
"$build/consumer/vistal-consumer-pc" >/dev/null
echo "package: installed program, CMake consumer and pkg-config consumer all run"
