#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, then configures and builds Marvane.
#   scripts/build.sh              release build in build/
#   scripts/build.sh --sanitize   address and undefined-behaviour sanitizers in build-sanitize/
set -euo pipefail
cd "$(dirname "$0")/.."
# Everything but the build folder's name goes to stderr, so callers can read the name and still
# show the log.
exec 3>&1 1>&2

bash scripts/setup.sh

dir=build
flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
if [ "${1:-}" = "--sanitize" ]; then
  dir=build-sanitize
  flags=(-DCMAKE_BUILD_TYPE=Debug -DMARVANE_SANITIZE=ON)
fi

# ccache keeps rebuilds of unchanged sources short, also across checkouts of the project: paths
# are taken relative to the checkout and the build folder is left out of the hash.
if command -v ccache >/dev/null 2>&1; then
  export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
  flags+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi

cmake -S . -B "$dir" -G Ninja "${flags[@]}"
cmake --build "$dir" --parallel "$(nproc)"
echo "$dir" >&3
