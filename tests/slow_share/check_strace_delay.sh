#!/usr/bin/env bash
# check_strace_delay.sh <slow_share_driver>: the query on the real file system while the kernel
# call that reads the day file is held back 2 s by strace. The interface thread must go on turning
# meanwhile and the rows must be listed once the read returns. Skipped (77) where strace is
# missing or may not trace.
set -uo pipefail

driver=$1
delay_us=2000000
site=$(mktemp -d)
out=$(mktemp)
XDG_RUNTIME_DIR=$(mktemp -d)
export XDG_RUNTIME_DIR
trap 'rm -rf "$site" "$XDG_RUNTIME_DIR"; rm -f "$out"' EXIT
fail() { echo "strace_delay: $*" >&2; cat "$out" >&2; exit 1; }

command -v strace >/dev/null || { echo "strace is not installed"; exit 77; }
strace -f -qq -o /dev/null true 2>/dev/null || { echo "strace may not trace here"; exit 77; }

day_file=$("$driver" make-site "$site") || fail "cannot write the day file"
# LeakSanitizer stops the threads with ptrace, which a traced process cannot; leaks are checked
# by the other runs of the driver.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
# -P limits the tracing, and so the injection, to calls on the day file; only its first read is
# held back.
timeout -k 5 60 strace -f -qq -o /dev/null -P "$day_file" \
    -e inject=read:delay_enter=$delay_us:when=1 "$driver" query "$site" >"$out" 2>&1
status=$?
((status == 0)) || fail "status $status"
read -r rows after longest < <(sed -n 's/^rows \([0-9]*\) after \([0-9]*\) ms; longest turn \([0-9]*\) ms$/\1 \2 \3/p' "$out")
[[ -n ${rows:-} ]] || fail "no figures printed"
((rows == 3)) || fail "$rows rows listed, expected 3"
# Listed sooner than the delay: the delay missed the read, and the check proves nothing.
((after >= delay_us / 1000 * 3 / 4)) || fail "rows after $after ms: the read was not delayed"
# A read on the interface thread would make one turn as long as the delay; half of it allows
# for a machine slowed by the tracer and other work.
((longest < delay_us / 1000 / 2)) || fail "longest turn $longest ms while the read was delayed"
echo "rows $rows after $after ms; longest interface-thread turn $longest ms"
