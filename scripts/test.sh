#!/usr/bin/env bash
# Sets up, builds and runs the whole test suite.
#   scripts/test.sh              release build
#   scripts/test.sh --sanitize   the same tests under the address (with leak detection) and
#                                undefined-behaviour sanitizers
set -euo pipefail
cd "$(dirname "$0")/.."
dir=$(bash scripts/build.sh "$@" | tail -n 1)
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}
ctest --test-dir "$dir" --output-on-failure --timeout 300 -j "$(nproc)"
