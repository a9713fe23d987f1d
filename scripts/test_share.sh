#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Lines of test code against lines of the program's own code (.cpp and .h only), and the tests'
# share of the two together.
#   scripts/test_share.sh [project folder]
set -eu
cd "${1:-$(dirname "$0")/..}"
count() { find "$@" \( -name '*.cpp' -o -name '*.h' \) -print0 | xargs -0 cat | wc -l; }
tests=$(count tests)
program=$(count app cli dialogs dudidevar editor engine mainwnd platform skin tasks tools)
awk -v t="$tests" -v p="$program" \
  'BEGIN { printf "tests %d, program %d, tests per program line %.2f, share of all %.1f%%\n", t, p, t / p, 100 * t / (t + p) }'
