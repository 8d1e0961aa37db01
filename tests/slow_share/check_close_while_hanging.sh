#!/usr/bin/env bash
# check_close_while_hanging.sh <slow_share_driver>: the window closed while the day file's read
# hangs for good; the process must end by itself, quickly and with status 0.
set -uo pipefail

driver=$1
out=$(mktemp)
XDG_RUNTIME_DIR=$(mktemp -d)
export XDG_RUNTIME_DIR
trap 'rm -f "$out"; rm -rf "$XDG_RUNTIME_DIR"' EXIT
fail() { echo "close_while_hanging: $*" >&2; cat "$out" >&2; exit 1; }

start=$(date +%s%N)
timeout -k 5 10 "$driver" close-while-hanging >"$out" 2>&1
status=$?
elapsed_ms=$((($(date +%s%N) - start) / 1000000))
((status != 124 && status != 137)) || fail "still running after 10 s"
((status == 0)) || fail "status $status"
grep -q "the day file's read is held" "$out" || fail "the window was not closed during the read"
grep -q "returning from main" "$out" || fail "main did not return"
echo "ended with status 0 after ${elapsed_ms} ms"
