#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Puts the licence line at the top of every source file of the checkout that lacks it: after a
# "#!" line, in the file's own comment form. Files that have it are left as they are, so the
# script can run again after any merge.
#   scripts/spdx.sh           adds the line where it is missing and names the files it changed
#   scripts/spdx.sh --check   only names the files without it; exits 1 when there are any
set -euo pipefail
cd "$(dirname "$0")/.."

identifier='SPDX-License-Identifier: GPL-3.0-or-later'
check=false
[ "${1:-}" = "--check" ] && check=true

comment_for() {
  case "$1" in
    *.cpp | *.h) echo "// $identifier" ;;
    *.sh | *.py | *.cmake | */CMakeLists.txt | CMakeLists.txt | .ci/run) echo "# $identifier" ;;
  esac
}

# Tracked files and new ones not yet added, without what .gitignore leaves out (build folders).
source_files() {
  git ls-files --cached --others --exclude-standard -z
}

has_line() {
  head -n 3 "$1" | grep -q 'SPDX-License-Identifier:'
}

add_line() {  # add_line <file> <comment>
  local tmp
  tmp=$(mktemp "$1.spdx-XXXXXX")
  if head -n 1 "$1" | grep -q '^#!'; then
    { head -n 1 "$1"; echo "$2"; tail -n +2 "$1"; } >"$tmp"
  else
    { echo "$2"; cat "$1"; } >"$tmp"
  fi
  chmod --reference="$1" "$tmp"
  mv "$tmp" "$1"
}

missing=0
while IFS= read -r -d '' file; do
  [ -f "$file" ] || continue
  line=$(comment_for "$file")
  [ -n "$line" ] || continue
  has_line "$file" && continue
  missing=$((missing + 1))
  echo "$file"
  $check || add_line "$file" "$line"
done < <(source_files)

if $check && [ "$missing" -gt 0 ]; then
  exit 1
fi
exit 0
