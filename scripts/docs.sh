#!/usr/bin/env bash
# Remakes the README's pictures from the built-in drawing: the finished
# drawing as docs/greeting.png and its playback as docs/greeting.gif.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --preset host >/dev/null
cmake --build --preset host --target penscript
penscript=build/host/tools/penscript/penscript
mkdir -p docs
# A screen just larger than the 756 by 458 frame, so the picture is the frame
# with a 12-pixel margin, as in the animation.
"$penscript" render --screen 780x482 -o docs/greeting.png
"$penscript" animate -o docs/greeting.gif
echo "wrote docs/greeting.png and docs/greeting.gif"
