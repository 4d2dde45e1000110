#!/usr/bin/env bash
# Fails on an #include that climbs a layer. Layers, lowest first: host (itself ordered:
# win, framework, gdi, gui, mesh, render, core, meshops, then wnd (windows) and view (the
# framework's views)), vistal, backends, scene, then the
# programs, tests and benchmarks, which may include anything below them.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

# What each folder may include, as a regular expression over the included path.
allowed_for() {
  case "$1" in
    host/win/*)       echo '^host/(HostApi\.h$|win/)' ;;
    host/framework/*) echo '^host/(HostApi\.h$|(win|framework)/)' ;;
    host/gdi/*)       echo '^host/(HostApi\.h$|(win|framework|gdi)/)' ;;
    host/gui/*)       echo '^host/(HostApi\.h$|(win|gdi|gui)/)' ;;
    host/mesh/*)      echo '^host/(HostApi\.h$|(win|framework|gdi|mesh)/)' ;;
    host/render/*)    echo '^host/(HostApi\.h$|(win|framework|gdi|mesh|render)/)' ;;
    host/core/*)      echo '^host/(HostApi\.h$|(win|framework|gdi|gui|mesh|render|core)/)' ;;
    host/meshops/*)   echo '^host/(HostApi\.h$|(win|framework|gdi|gui|mesh|render|core|meshops)/)' ;;
    host/wnd/*)       echo '^host/(HostApi\.h$|(win|framework|gdi|render|wnd)/)' ;;
    host/view/*)      echo '^host/' ;;
    host/*)           echo '^host/' ;;
    vistal/*)         echo '^(host|vistal)/' ;;
    backends/*)       echo '^(host|vistal|backends)/' ;;
    scene/*)          echo '^(host|vistal|backends|scene)/' ;;
    testing/*)        echo '^(host|vistal|testing)/' ;;
    *)                echo '' ;;  # programs, tests, benchmarks, fuzzers, examples
  esac
}

status=0
while IFS= read -r file; do
  allowed=$(allowed_for "$file")
  [ -z "$allowed" ] && continue
  while IFS=: read -r line include; do
    # Only the project's own headers: "layer/area/File.h".
    [[ "$include" =~ ^(host|vistal|backends|scene|apps|testing|tests)/ ]] || continue
    if ! [[ "$include" =~ $allowed ]]; then
      echo "$file:$line: includes \"$include\", which lies in a layer above it" >&2
      status=1
    fi
  done < <(grep -n -oP '^\s*#\s*include\s*"\K[^"]+' "$file" || true)
done < <(git ls-files -co --exclude-standard -- '*.h' '*.cpp' | grep -vE '^(build|examples)/')
[ $status -eq 0 ] && echo "layers: no include climbs a layer"
exit $status
