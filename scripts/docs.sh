#!/usr/bin/env bash
# Builds the reference of the public headers (build/docs/html) and fails when an exported
# class (one marked with an export macro) has no comment.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
mkdir -p build/docs
doxygen docs/Doxyfile
exported=$(grep -rhoP --include='*.h' --exclude-dir=Implementation \
  '^\s*(class|struct)\s+VISTAL_\w*API\s+\K\w+' host vistal backends scene | sort -u)
missing=()
for name in $exported; do
  if grep -qE "Compound ${name} is not documented" build/docs/warnings.txt; then
    missing+=("$(grep -E "Compound ${name} is not documented" build/docs/warnings.txt | head -n 1)")
  fi
done
if [ ${#missing[@]} -gt 0 ]; then
  printf '%s\n' "${missing[@]}" >&2
  echo "docs: ${#missing[@]} exported classes have no comment" >&2
  exit 1
fi
echo "docs: every exported class is documented ($(echo "$exported" | wc -w) classes), reference in build/docs/html"
