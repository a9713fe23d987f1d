#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The bash completion of marvane-cli: what it offers at each point of a command line, and that
# every option it offers is one the command takes.
#   CheckCompletion.sh <completion file> <folder of the built programs>
set -u
source "$1"
cli=$2/marvane-cli
[ -x "$cli" ] || { echo "no program at $cli"; exit 1; }
failures=0

# offers "<words of the line, the last being completed>" -- <what must be offered>...
offers() {
  local line=$1
  shift 2
  read -r -a COMP_WORDS <<<"$line"
  [[ $line == *" " ]] && COMP_WORDS+=("")
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMPREPLY=()
  _marvane_cli 2>/dev/null
  local want
  for want in "$@"; do
    if ! printf '%s\n' "${COMPREPLY[@]}" | grep -qxF -- "$want"; then
      echo "FAIL: '$line' does not offer $want (offers: ${COMPREPLY[*]})"
      failures=$((failures + 1))
    fi
  done
}

offers "marvane-cli " -- probe convert audio frames run help --help --version
offers "marvane-cli co" -- convert
offers "marvane-cli help f" -- frames
offers "marvane-cli convert --to " -- avi dvd vcd svcd mpeg wmv mp4
offers "marvane-cli convert --to mp4 --codec " -- h264 h265 av1
offers "marvane-cli convert --to mp4 --speed b" -- balanced
offers "marvane-cli --verbose convert --to dvd --p" -- --pal --profile
offers "marvane-cli frames --per" -- --per-second
offers "marvane-cli run --sh" -- --shard
offers "marvane-cli audio --w" -- --wma --wav

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
touch "$work/clip.mpg" "$work/clip.avi"
offers "marvane-cli probe $work/clip." -- "$work/clip.mpg" "$work/clip.avi"
offers "marvane-cli convert --to avi -o $work/clip.a" -- "$work/clip.avi"

# Every option offered is taken by its command: none is refused as unknown.
for command in probe convert audio frames run; do
  COMP_WORDS=(marvane-cli "$command" -)
  COMP_CWORD=2
  COMPREPLY=()
  _marvane_cli 2>/dev/null
  [ "${#COMPREPLY[@]}" -gt 1 ] || { echo "FAIL: no options offered for $command"; failures=$((failures + 1)); }
  for option in "${COMPREPLY[@]}"; do
    said=$("$cli" "$command" "$option" 2>&1 </dev/null)
    if grep -q "unknown option $option\$" <<<"$said"; then
      echo "FAIL: $command refuses the offered $option"
      failures=$((failures + 1))
    fi
  done
done

echo "$failures failures"
[ "$failures" -eq 0 ]
