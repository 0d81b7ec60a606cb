#!/usr/bin/env bash
# Builds every fuzz target once and runs each for a while with a memory limit,
# keeping what it finds.
#   scripts/fuzz.sh [-t SECONDS] [-m MEGABYTES] [TARGET ...]
#     -t   how long each target runs (default 60)
#     -m   the memory limit of a run, which also caps one allocation (default 2048)
#     TARGET  names without the fuzz_ prefix (bmp, music, keys_txt, ...);
#             default: every target
# The build is build-fuzz/ (clang, libFuzzer, ASan and UBSan). Each target's
# corpus grows in build-fuzz/corpus/TARGET from fuzz/seeds/TARGET and is kept
# for the next run. A crash, leak, hang or memory overrun is kept in
# fuzz-findings/TARGET/ with libFuzzer's log of that run; the script then exits 1.
# Replay a finding with: build-fuzz/fuzz/fuzz_TARGET fuzz-findings/TARGET/crash-...
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=60
memory=2048
while getopts "t:m:h" option; do
  case $option in
    t) seconds=$OPTARG ;;
    m) memory=$OPTARG ;;
    *) sed -n '2,13p' "$0" | sed 's/^# \{0,1\}//'; exit 2 ;;
  esac
done
shift $((OPTIND - 1))
[[ $seconds =~ ^[1-9][0-9]*$ ]] || { echo "fuzz: -t takes a number of seconds" >&2; exit 2; }
[[ $memory =~ ^[1-9][0-9]*$ ]] || { echo "fuzz: -m takes a number of megabytes" >&2; exit 2; }

scripts/install-deps.sh
# libFuzzer comes with clang's runtime libraries.
if ! command -v clang++ >/dev/null 2>&1 || ! dpkg-query -W -f='${Status}' libclang-rt-dev 2>/dev/null |
    grep -q 'install ok installed'; then
  sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  "${sudo[@]}" apt-get install -y -q --no-install-recommends clang libclang-rt-dev
fi

build=build-fuzz
CC=clang CXX=clang++ cmake -S . -B "$build" -DVDX_FUZZ=ON -DVDX_BUILD_TESTS=OFF \
  -DVDX_BUILD_BENCH=OFF >/dev/null
if [ $# -eq 0 ]; then
  cmake --build "$build" -j "$(nproc)" >/dev/null
  targets=()
  for program in "$build"/fuzz/fuzz_*; do
    [ -x "$program" ] && targets+=("${program##*/fuzz_}")
  done
else
  targets=("$@")
  cmake --build "$build" -j "$(nproc)" --target "${targets[@]/#/fuzz_}" >/dev/null
fi
[ ${#targets[@]} -gt 0 ] || { echo "fuzz: no fuzz targets were built" >&2; exit 1; }

found=0
for target in "${targets[@]}"; do
  program=$build/fuzz/fuzz_$target
  [ -x "$program" ] || { echo "fuzz: no target fuzz_$target" >&2; exit 2; }
  corpus=$build/corpus/$target
  findings=fuzz-findings/$target
  mkdir -p "$corpus" "$findings" "$build/logs"
  seeds=()
  [ -d "fuzz/seeds/$target" ] && seeds=("fuzz/seeds/$target")
  log=$build/logs/$target.log
  echo "fuzz: $target for ${seconds} s (memory limit ${memory} MB)"
  status=0
  "$program" "$corpus" "${seeds[@]}" -max_total_time="$seconds" -rss_limit_mb="$memory" \
    -timeout=30 -artifact_prefix="$findings/" -print_final_stats=1 >"$log" 2>&1 || status=$?
  grep -E '^stat::number_of_executed_units|^Done [0-9]+ runs' "$log" | tail -n 1 | sed 's/^/  /'
  if [ $status -ne 0 ]; then
    found=1
    stamp=$(date +%Y%m%d-%H%M%S)
    cp "$log" "$findings/run-$stamp.log"
    echo "  FOUND (exit $status): $(grep -m1 -E 'ERROR|out-of-memory|timeout' "$log" || true)"
    echo "  kept in $findings/ (libFuzzer's log: run-$stamp.log)"
  else
    rmdir "$findings" 2>/dev/null || true  # kept when an earlier run found something
  fi
done
if [ $found -ne 0 ]; then
  echo "fuzz: findings kept in fuzz-findings/"
  exit 1
fi
echo "fuzz: ${#targets[@]} targets ran ${seconds} s each with no finding"
