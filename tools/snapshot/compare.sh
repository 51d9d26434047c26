#!/usr/bin/env bash
# compare.sh BEFORE AFTER: compares two strumbo_snapshot folders file by file.
# Prints every file that differs or is in one folder only; exits 1 if any.
set -euo pipefail
if [ $# -ne 2 ] || [ ! -d "$1" ] || [ ! -d "$2" ]; then
  echo "usage: $0 BEFORE AFTER (two snapshot folders)" >&2
  exit 2
fi
before=$1 after=$2
status=0
while IFS= read -r f; do
  if [ ! -e "$before/$f" ]; then
    echo "only in $after: $f"; status=1
  elif [ ! -e "$after/$f" ]; then
    echo "only in $before: $f"; status=1
  elif ! cmp -s "$before/$f" "$after/$f"; then
    echo "differs: $f"; status=1
    # Text files: show what changed.
    case "$f" in
      *.txt | *.ini) diff -u "$before/$f" "$after/$f" | sed 's/^/    /' || true ;;
    esac
  fi
done < <({ (cd "$before" && find . -type f); (cd "$after" && find . -type f); } |
          sed 's|^\./||' | LC_ALL=C sort -u)
[ $status -eq 0 ] && echo "identical: $before and $after"
exit $status
