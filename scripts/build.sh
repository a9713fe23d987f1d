#!/usr/bin/env bash
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

cmake -S . -B "$dir" -G Ninja "${flags[@]}"
cmake --build "$dir" --parallel "$(nproc)"
echo "$dir" >&3
