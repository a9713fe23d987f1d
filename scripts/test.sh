#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Sets up, builds and runs the whole test suite.
#   scripts/test.sh              release build
#   scripts/test.sh --sanitize   the same tests under the address (with leak detection) and
#                                undefined-behaviour sanitizers
set -euo pipefail
cd "$(dirname "$0")/.."
dir=$(bash scripts/build.sh "$@" | tail -n 1)

# Preview sound goes through a private sound server whose output is silent, so the tests play it
# through the real audio path; without a server they play silently.
if command -v pulseaudio >/dev/null 2>&1; then
  XDG_RUNTIME_DIR=$(mktemp -d /tmp/marvane-sound-XXXXXX)
  export XDG_RUNTIME_DIR
  trap 'pulseaudio -k >/dev/null 2>&1 || true; rm -rf "$XDG_RUNTIME_DIR"' EXIT
  pulseaudio --daemonize=yes --exit-idle-time=-1 -n --load="module-null-sink sink_name=silent" \
    --load=module-native-protocol-unix >/dev/null 2>&1 || echo "no sound server: previews play silently" >&2
fi

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}
# Leaks inside system libraries that the program cannot free (listed with their reason).
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$PWD/tests/lsan.supp}
ctest --test-dir "$dir" --output-on-failure --timeout 300 -j "$(nproc)"
