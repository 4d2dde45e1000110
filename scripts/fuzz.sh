#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for SECONDS (default 30) on its
# corpus in fuzz/corpus/<target>, failing on any crash, leak or undefined behaviour.
# New inputs found on the way go to a scratch folder, not into the kept corpus.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-30}
build="$root/build-fuzz"
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVISTAL_BUILD_FUZZ=ON -DVISTAL_BUILD_TESTS=OFF -DVISTAL_BUILD_BENCH=OFF -DVISTAL_BUILD_APPS=OFF \
  -DVISTAL_BACKEND_GL=OFF "${launcher[@]}" >/dev/null
targets=$(sed -n 's/^vistal_add_fuzz(\([a-z_]*\).*/\1/p' "$root/fuzz/CMakeLists.txt")
# shellcheck disable=SC2086
cmake --build "$build" -j "$(nproc)" --target $targets
for t in $targets; do
  corpus="$root/fuzz/corpus/$t"
  scratch="$build/found/$t"
  mkdir -p "$scratch"
  # A target without seeds yet starts from nothing.
  corpora=("$scratch")
  [ -d "$corpus" ] && corpora+=("$corpus")
  echo "-- $t for ${seconds}s"
  if ! UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    "$build/fuzz/$t" -max_total_time="$seconds" -artifact_prefix="$build/" "${corpora[@]}" \
    >"$build/$t.log" 2>&1; then
    tail -n 40 "$build/$t.log" >&2
    echo "fuzzing $t failed; the input is in $build/" >&2
    exit 1
  fi
  grep -E '^(#[0-9]+\s+DONE|Done)' "$build/$t.log" | tail -n 1
done
