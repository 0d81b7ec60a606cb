#!/usr/bin/env bash
# Installs what is missing, builds the game and starts it in a window on the
# game folder of the build. Extra arguments go to vdx (for example SHOWFPS).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
cmake --build build -j "$(nproc)"
exec build/game/vdx 1 "$@"
