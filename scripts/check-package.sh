#!/usr/bin/env bash
# Installs a built tree to a fresh prefix and uses it as an outside program would: the
# installed programs run from there with no library path set, and the consumer is
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
# The installed preview, headless, finds the SDL backend too and shows a picture.
rm -rf "$build/installed-preview"
mkdir -p "$build/installed-preview"
echo "wait 0" >"$build/installed-preview/script.txt"
env -u LD_LIBRARY_PATH SDL_VIDEODRIVER=offscreen "$prefix/bin/vistal-preview" --size 96x72 \
  --script "$build/installed-preview/script.txt" --frames "$build/installed-preview"
"$root/scripts/png-coverage.py" "$build/installed-preview/frame-0000.png" 0.05

cmake -S "$root/examples/consumer" -B "$build/consumer" -G Ninja -DCMAKE_PREFIX_PATH="$prefix" "$@" >/dev/null
cmake --build "$build/consumer"
env -u LD_LIBRARY_PATH "$build/consumer/vistal-consumer"

# The example: an STL cut by two planes with a transparent ball inside, to a PNG.
rm -rf "$build/example"
cmake -S "$root/examples/cut-and-blend" -B "$build/example" -G Ninja -DCMAKE_PREFIX_PATH="$prefix" "$@" >/dev/null
cmake --build "$build/example"
box="$build/example/box.stl"
{
  echo "solid box"
  # A 60 mm cube as twelve facets: each face is two triangles, corners counter-clockwise
  # seen from outside.
  for f in "0 0 0 0 60 0 60 60 0 60 0 0" "0 0 60 60 0 60 60 60 60 0 60 60" \
           "0 0 0 60 0 0 60 0 60 0 0 60" "0 60 0 0 60 60 60 60 60 60 60 0" \
           "0 0 0 0 0 60 0 60 60 0 60 0" "60 0 0 60 60 0 60 60 60 60 0 60"; do
    set -- $f
    printf 'facet normal 0 0 0\nouter loop\nvertex %s %s %s\nvertex %s %s %s\nvertex %s %s %s\nendloop\nendfacet\n' \
      "$1" "$2" "$3" "$4" "$5" "$6" "$7" "$8" "$9"
    printf 'facet normal 0 0 0\nouter loop\nvertex %s %s %s\nvertex %s %s %s\nvertex %s %s %s\nendloop\nendfacet\n' \
      "$1" "$2" "$3" "$7" "$8" "$9" "${10}" "${11}" "${12}"
  done
  echo "endsolid box"
} >"$box"
env -u LD_LIBRARY_PATH "$build/example/cut-and-blend" "$box" "$build/example/cut-and-blend.png"
"$root/scripts/png-coverage.py" "$build/example/cut-and-blend.png" 0.05

# The same program through pkg-config.
PKG_CONFIG_PATH="$prefix/lib/pkgconfig" pkg-config --exists vistal
# shellcheck disable=SC2046
c++ -o "$build/consumer/vistal-consumer-pc" "$root/examples/consumer/main.cpp" \
  $(PKG_CONFIG_PATH="$prefix/lib/pkgconfig" pkg-config --cflags --libs vistal) -Wl,-rpath,"$prefix/lib"
"$build/consumer/vistal-consumer-pc" >/dev/null
echo "package: installed program, CMake consumer and pkg-config consumer all run"
