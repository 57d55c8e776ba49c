#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang into ./build-fuzz (or $TAL_FUZZ_BUILD_DIR) and
# runs each for SECONDS seconds (default 20), one after the other.
#
#   scripts/fuzz.sh [SECONDS] [TARGET ...]
#
# Each target starts from its corpus in the build folder, kept between runs, and the seeds made
# here from the demo workspace and the test data. A crash, a sanitizer report or a broken promise
# of a reader stops that target and leaves the input as build-fuzz/findings/TARGET-*; the script
# then ends with status 1. The last lines give the executions and the corpus size of every target.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}
[ $# -gt 0 ] && shift
build=${TAL_FUZZ_BUILD_DIR:-build-fuzz}
bash scripts/install-deps.sh clang libclang-rt-14-dev  # libFuzzer of Debian's clang
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAL_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined" >/dev/null
cmake --build "$build" -j"$(nproc)" --target fuzzers

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for source in fuzz/*Fuzz.cpp; do targets+=("$(basename "$source" .cpp)"); done
fi

# Seeds from the demo workspace and the test data. Targets whose first byte chooses a mode get
# each seed once per mode.
seeds=$build/seeds
rm -rf "$seeds"
seed() {  # seed TARGET NAME [PREFIX-BYTE] < bytes
  mkdir -p "$seeds/$1"
  if [ $# -ge 3 ]; then { printf "\\x$3"; cat; } > "$seeds/$1/$2"; else cat > "$seeds/$1/$2"; fi
}
for deck in demo/*.TKD tests/data/*.TKD tests/data/*.TKX; do
  [ -f "$deck" ] || continue
  for mode in 00 01 02; do seed FormDeckFuzz "$mode-$(basename "$deck")" $mode < "$deck"; done
done
for data in demo/*.DAT demo/*/*.dat; do [ -f "$data" ] && seed ListDataFuzz "$(basename "$data")" < "$data"; done
seed EngineConfigFuzz CNFGTL.TAL < demo/CNFGTL.TAL
for file in fuzz/seeds/*/*; do seed "$(basename "$(dirname "$file")")" "$(basename "$file")" < "$file"; done
for text in demo/*.DCK demo/HOUSE.TKD; do
  [ -f "$text" ] && seed ViewerIndexFuzz "$(basename "$text")" 07 < "$text"
done
printf 'first\r\nsecond\r\n\r\nlast without end' | seed ViewerIndexFuzz crlf 02
for mode in 12 13; do  # "END OF RUN" in an output file, without and with match case
  { printf 'END OF RUN'; printf ' %12.4f  %14.6E\n' 1 2 3 4; printf 'end of run\n'; } | seed ViewerSearchFuzz "end-$mode" $mode
done
printf 'TALPIX sample engine 1.0: /w/A.DCK\nprogress 4380 0 8760\n/w/A.DCK:37: error: unit 1: TYPE 77 is not known\n*** Error in line 37: x\n*** Warning at TIME = 0: y\n2 steps did not converge\n' |
  seed EngineOutputFuzz engine 05
printf '%s\n' /work/A.DCK /work/forms/HOUSE.TKD '' '   ' /tmp/OUT.TKX | seed RecentFilesFuzz TALSHELL.FNL
i=0
for number in 0 1.5 -2.5E+03 1E99 -1e99 INF -inf 12. 0.000001 9.99e99 1.18973149535723176502e+4932 '  7'; do
  i=$((i + 1))  # counted here: the seed command of a pipeline runs in a subshell
  printf '%s' "$number" | seed NumbersFuzz "n$i"
done

seed ResultChoiceFuzz HOUSE.TRS < demo/HOUSE.TRS
printf "QAUX:integral\r\n# note\n\nTTANK : MAXIMUM\nCol 2:mean\n" | seed ResultChoiceFuzz crlf.trs
printf 'TIME TROOM TTANK\nh C C\n1 20.5 40\n2 21 41.25\n3 19.75 39e0\n' | seed PlotDataFuzz house.plt
printf 'x y\n1,2\n2,4\n' | seed PlotDataFuzz comma.plt
printf 'Projects\nDemo\nForms\nHouse\nHOUSE.TKD HOUSE.BMP HOUSE.HLP\nPump\nPUMP.TKD,,PUMP.HLP\n' | seed IndexFileFuzz PROJECTS.IDX
for deck in demo/*.DCK; do
  for mode in 00 01; do [ -f "$deck" ] && seed DeckScanFuzz "$mode-$(basename "$deck")" $mode < "$deck"; done
done
for info in demo/INFO/*.INF; do seed DeckScanFuzz "01-$(basename "$info")" 01 < "$info"; done
# The engine: the demo decks and the decks of the engine's tests (fuzz/seeds/EngineRunFuzz, each
# a deck, a NUL and its data file), read only, run, and the demo's weather as the data reader's file.
weather=$(head -n 200 demo/WEATHER.DAT)
for deck in demo/*.DCK demo/*.TKD fuzz/seeds/EngineRunFuzz/*; do
  [ -f "$deck" ] || continue
  seed EngineDeckFuzz "00-$(basename "$deck")" 00 < <(tr '\0' '\n' < "$deck")
done
for deck in demo/*.DCK demo/*.TKD; do
  [ -f "$deck" ] && { cat "$deck"; printf '\0%s\n' "$weather"; } | seed EngineRunFuzz "$(basename "$deck")"
done
printf '%s\n' "$weather" | seed EngineDataFuzz weather 09
printf 'x\r1 2\r3,4\r\r+5 6e0\r' | seed EngineDataFuzz cr 05
for expression in '-2^2' '2^3^2' 'MIN(A,B,[1,1])*MOD(A,3)' 'SQRT(ABS(B))/LOG10(1E3)+INT(-A)' '((A+.5)*1.5E-3)-INF'; do
  i=$((i + 1))
  printf '%s' "$expression" | seed EngineDeckFuzz "expr-$i" 01
done
# Plot and table files as talbatch writes them, when the normal build has made it.
talbatch=${TAL_BUILD_DIR:-build}/talbatch
if [ -x "$talbatch" ]; then
  made=$(mktemp -d)
  printf 'TIME TROOM TTANK\nh C C\n1 20.5 40\n2 21 41.25\n3 19.75 39\n' > "$made/A.PLT"
  "$talbatch" plot "$made/A.PLT" -x TIME -y TROOM,TTANK -o "$made/A.SPF" >/dev/null 2>&1 &&
    seed SpfFileFuzz A.SPF < "$made/A.SPF"
  printf 'CONSTANTS 2\nA=1\nB=2\n' > "$made/T.DCK"
  "$talbatch" table new "$made/T.DCK" --runs 3 --vars A,B -o "$made/T.TBL" >/dev/null 2>&1 &&
    seed TableFileFuzz T.TBL < "$made/T.TBL"
  rm -rf "$made"
fi

status=0
mkdir -p "$build/findings"
summary=()
for target in "${targets[@]}"; do
  corpus=$build/corpus/$target
  mkdir -p "$corpus" "$seeds/$target"
  log=$build/findings/$target.log
  if ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 UBSAN_OPTIONS=print_stacktrace=1 \
     TMPDIR=${TMPDIR:-/tmp} "$build/fuzz/$target" -max_total_time="$seconds" -print_final_stats=1 -timeout=10 \
       -rss_limit_mb=2048 -artifact_prefix="$build/findings/$target-" "$corpus" "$seeds/$target" >"$log" 2>&1; then
    result=ok
  else
    result="FOUND (see $log)"
    status=1
  fi
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo "?")
  summary+=("$(printf '%-20s %8s s %12s executions %6s inputs in corpus  %s' "$target" "$seconds" "$runs" \
    "$(find "$corpus" -type f | wc -l)" "$result")")
done
printf '%s\n' "${summary[@]}"
exit $status
