#!/usr/bin/env bash
# The edit-script maker against GNU diff on the sample dictionary (about 20 MB
# each side), side by side in one run: best of three wall-clock times of
#   patchtool diff OLD NEW SCRIPT
#   diff OLD NEW > OUT          (GNU diff, normal output)
# and the sizes of what each writes.
#   bench/diff_vs_gnu.sh [path/to/patchtool]
set -euo pipefail
patchtool=${1:-build/native/bin/patchtool}
command -v diff >/dev/null || { echo "GNU diff is not installed" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$patchtool" sample-dictionary "$work" >/dev/null

best_of_three() {
  local best=""
  for _ in 1 2 3; do
    local start end took
    start=$(date +%s.%N)
    "$@" >/dev/null || true  # diff answers 1 when the files differ
    end=$(date +%s.%N)
    took=$(awk -v s="$start" -v e="$end" 'BEGIN { printf "%.3f", e - s }')
    if [ -z "$best" ] || awk -v a="$took" -v b="$best" 'BEGIN { exit !(a < b) }'; then best=$took; fi
  done
  echo "$best"
}

ours=$(best_of_three "$patchtool" diff "$work/old/engpol2.sg" "$work/new/engpol2.sg" "$work/script")
gnu=$(best_of_three sh -c "diff '$work/old/engpol2.sg' '$work/new/engpol2.sg' > '$work/gnu.diff'")
printf '%-22s %8s s  %10d bytes of output\n' "patchtool diff" "$ours" "$(stat -c %s "$work/script")"
printf '%-22s %8s s  %10d bytes of output\n' "GNU diff" "$gnu" "$(stat -c %s "$work/gnu.diff")"
awk -v a="$ours" -v b="$gnu" 'BEGIN { printf "patchtool diff takes %.2f x the time of GNU diff\n", a / b }'
