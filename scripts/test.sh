#!/usr/bin/env bash
# The test command: installs what is missing, builds both presets and runs
# every test (unit tests and penscript's in the host build; the exe's own
# checks and the end-to-end runs under Wine in the Windows build, which uses
# the host build's penscript as its reference).
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck source=../tests/e2e/wine_session.sh
source tests/e2e/wine_session.sh

scripts/install-packages.sh \
  cmake make g++ python3 libgtest-dev libpng-dev libgif-dev \
  g++-mingw-w64-i686 binutils-mingw-w64-i686 icoutils \
  "${WINE_SESSION_PACKAGES[@]}"
ensure_32bit_wine_runs

cmake --workflow --preset host
cmake --workflow --preset windows
