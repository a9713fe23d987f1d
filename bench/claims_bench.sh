#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Two runs of one list of unequal tasks: two static shards against two plain runs that claim
# their tasks as they go. Odd tasks are long and even ones short, so the first shard draws every
# long task; claiming runs share them out. Prints both wall times and their ratio.
#   bash bench/claims_bench.sh [BUILD_DIR] [LONG_SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
. bench/common.sh
bench_setup "${1:-build}"
long=${2:-8}
make_source "$long" "$work/long.avi"
make_source 1 "$work/short.avi"

write_list() {
  {
    echo '{"format": "marvane-task-list", "version": 1, "tasks": ['
    for i in 1 2 3 4 5 6 7 8; do
      src=$work/short.avi
      [ $((i % 2)) = 1 ] && src=$work/long.avi
      [ "$i" -gt 1 ] && echo ','
      cat <<TASK
    {"sources": ["$src"], "output": "$work/out$i.mpg", "description": "To VCD", "status": "Waiting",
     "kind": 0, "split": {"enabled": false, "seconds": 0},
     "settings": {"width": 352, "height": 288, "keepSourceSize": false, "videoOnly": false, "frameRate": 25,
                  "videoCompressor": 0, "audioCompressor": 0, "wmvProfile": 0, "mpegFrameRateIndex": 0,
                  "vbr": false, "vbrQuality": 0, "videoBitRate": 1150, "audioBitRate": 224}}
TASK
    done
    echo ']}'
  } > "$work/list.json"
  rm -f "$work"/out*.mpg
}

seconds() {  # command...
  local start end
  start=$(date +%s.%N)
  "$@" >/dev/null
  end=$(date +%s.%N)
  echo "$end - $start" | bc
}

both() {  # extra run arguments: {} is the run's number
  "$cli" run --keep-going --update "${@/\{\}/1}" "$work/list.json" &
  local first=$!
  "$cli" run --keep-going --update "${@/\{\}/2}" "$work/list.json"
  wait "$first"
}

write_list
shards=$(seconds both --shard {}/2)
write_list
claims=$(seconds both)
[ "$(grep -c '"Done"' "$work/list.json")" = 8 ] || { echo "not every task is done" >&2; exit 1; }
echo "8 tasks ($long s and 1 s by turns), two runs at once:"
echo "  static shards ${shards} s, claiming runs ${claims} s, ratio $(echo "scale=2; $shards / $claims" | bc)"
