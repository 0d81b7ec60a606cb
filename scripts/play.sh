#!/usr/bin/env bash
# Installs what is missing, builds the game (not its tests) and starts it in a
# window on the game folder of the build. Extra arguments go to vdx (for example SHOWFPS).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
# Only what the game needs to play: the programs and the demo folder.
cmake --build build -j "$(nproc)" --target vdx vdxlaunch demo_content
exec build/game/vdx 1 "$@"
