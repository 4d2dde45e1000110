#!/usr/bin/env bash
# Builds and runs every test: the suite, the package consumer against the installed
# package, and the suite again under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)
"$root/scripts/deps.sh"
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)

echo "== build and test"
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" >/dev/null
cmake --build "$root/build" -j "$jobs"
ctest --test-dir "$root/build" --output-on-failure -j "$jobs"

echo "== install and build the consumer against the package"
rm -rf "$root/build/install" "$root/build/consumer"
cmake --install "$root/build" --prefix "$root/build/install" >/dev/null
cmake -S "$root/examples/consumer" -B "$root/build/consumer" -G Ninja \
  -DCMAKE_PREFIX_PATH="$root/build/install" "${launcher[@]}" >/dev/null
cmake --build "$root/build/consumer"
LD_LIBRARY_PATH="$root/build/install/lib" "$root/build/consumer/vistal-consumer"

echo "== sanitized build and test"
cmake -S "$root" -B "$root/build-asan" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVISTAL_SANITIZE=ON \
  -DVISTAL_BUILD_BENCH=OFF "${launcher[@]}" >/dev/null
cmake --build "$root/build-asan" -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir "$root/build-asan" --output-on-failure -j "$jobs"
echo "== all tests passed"
