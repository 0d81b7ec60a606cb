#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test.
#   scripts/test.sh              the test build, in build-test/
#   scripts/test.sh --sanitize   with AddressSanitizer and UBSan, in build-sanitize/
# The play command's Release build lives in build/, so running one command
# after the other rebuilds nothing.
set -euo pipefail
cd "$(dirname "$0")/.."

build=build-test
options=()
if [ "${1:-}" = "--sanitize" ]; then
  build=build-sanitize
  options+=(-DVDX_SANITIZE=ON)
fi

scripts/install-deps.sh
cmake -S . -B "$build" "${options[@]}"
cmake --build "$build" -j "$(nproc)"
ctest --test-dir "$build" --output-on-failure -j "$(nproc)"
