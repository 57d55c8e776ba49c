#!/usr/bin/env bash
# Builds everything as a Debug build with AddressSanitizer and UndefinedBehaviorSanitizer into
# ./build-asan (or $TAL_ASAN_BUILD_DIR) and runs every test there. Any sanitizer report fails the
# test that caused it. Leaks are reported too, except those inside system libraries listed in
# scripts/sanitizers/lsan.supp.
set -euo pipefail
cd "$(dirname "$0")/.."
flags="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
export TAL_BUILD_DIR=${TAL_ASAN_BUILD_DIR:-build-asan}
bash scripts/install-deps.sh slurm-wlm munge  # the cluster tests run too, against a local Slurm
bash scripts/build.sh -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS="$flags" \
  -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1
export LSAN_OPTIONS="suppressions=$PWD/scripts/sanitizers/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
top=$PWD
cd "$TAL_BUILD_DIR"
QT_QPA_PLATFORM=offscreen bash "$top/scripts/with-slurm.sh" ctest --output-on-failure -j"$(nproc)" --timeout 600
