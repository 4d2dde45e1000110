#!/bin/sh
# vistal-render over an existing picture, stopped part way through its write by the
# file-size limit: the previous picture must stay whole, with no partial file beside it.
# Usage: KeepsPreviousPicture.sh VISTAL_RENDER SCRATCH_DIR
set -u
render=$1
dir=$2
rm -rf "$dir" && mkdir -p "$dir" || exit 1
"$render" --size 160x120 --output "$dir/picture.png" >/dev/null || exit 1
cp "$dir/picture.png" "$dir/previous.png" || exit 1
# 1 KiB: far less than the picture. No shader cache, which would be written first.
if (ulimit -f 1 && MESA_SHADER_CACHE_DISABLE=true exec "$render" --size 200x150 --output "$dir/picture.png"); then
  echo "the write did not fail"
  exit 1
fi
if ! cmp -s "$dir/picture.png" "$dir/previous.png"; then
  echo "the previous picture was changed"
  exit 1
fi
stray=$(ls -A "$dir" | grep -v -x -e picture.png -e previous.png)
if [ -n "$stray" ]; then
  echo "left beside the picture: $stray"
  exit 1
fi
echo "the previous picture is whole"
