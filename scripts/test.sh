#!/usr/bin/env bash
# Builds and runs every test: the layer check, the suite (warnings as errors), the
# installed package (its program, the example and the consumer built against it), a
# short fuzzing run when clang is present, and the suite again under AddressSanitizer
# and UndefinedBehaviorSanitizer.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)
"$root/scripts/deps.sh"
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)

echo "== layers"
"$root/scripts/check-layers.sh"

echo "== build and test"
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVISTAL_WERROR=ON "${launcher[@]}" >/dev/null
cmake --build "$root/build" -j "$jobs"
ctest --test-dir "$root/build" --output-on-failure -j "$jobs"

echo "== install, then use the package from outside"
"$root/scripts/check-package.sh" "$root/build" "${launcher[@]}"

if command -v clang++ >/dev/null; then
  echo "== fuzz briefly"
  "$root/scripts/fuzz.sh" 30
else
  echo "== fuzz: skipped, clang is not installed"
fi

echo "== reference documentation"
"$root/scripts/docs.sh"

echo "== sanitized build and test"
cmake -S "$root" -B "$root/build-asan" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVISTAL_SANITIZE=ON \
  -DVISTAL_BUILD_BENCH=OFF "${launcher[@]}" >/dev/null
cmake --build "$root/build-asan" -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  LSAN_OPTIONS=suppressions="$root/scripts/lsan.supp" ctest --test-dir "$root/build-asan" --output-on-failure -j "$jobs"
echo "== all tests passed"
