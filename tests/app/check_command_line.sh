#!/usr/bin/env bash
# check_command_line.sh <card_image>: the built program refuses a malformed command line with
# exit status 2 and one line on standard error, without opening a window or hanging; --help and
# --version answer on standard output with status 0.
set -uo pipefail

program=$1
out=$(mktemp) err=$(mktemp)
# A runtime folder of its own, so that Qt has nothing to say about a missing one.
XDG_RUNTIME_DIR=$(mktemp -d)
export XDG_RUNTIME_DIR
trap 'rm -f "$out" "$err"; rm -rf "$XDG_RUNTIME_DIR"' EXIT
fail() { echo "command_line: $*" >&2; exit 1; }

# expect <status> <stream that must hold one line: out|err> <text in that line> -- <arguments>
expect() {
    local status=$1 stream=$2 text=$3
    shift 4
    timeout 20 "$program" "$@" >"$out" 2>"$err"
    local got=$?
    ((got != 124)) || fail "card_image $* did not end within 20 s"
    ((got == status)) || fail "card_image $*: status $got, expected $status; stderr: $(cat "$err")"
    local lines other
    if [[ $stream == err ]]; then lines=$err other=$out; else lines=$out other=$err; fi
    [[ ! -s $other ]] || fail "card_image $*: unexpected output: $(cat "$other")"
    if [[ $stream == err ]]; then
        [[ $(wc -l <"$lines") -eq 1 ]] || fail "card_image $*: not one line: $(cat "$lines")"
    fi
    grep -qF -- "$text" "$lines" || fail "card_image $*: no '$text' in: $(cat "$lines")"
}

expect 2 err 'card_image: --date: not a date in the form YYYY-MM-DD: 2007-13-40' -- \
    --date 2007-13-40 /srv/site/site.spf
expect 2 err 'card_image: --direction: not one of in, out, all: sideways' -- \
    --direction sideways site.spf
expect 2 err "card_image: Unknown option 'nonsense'." -- --nonsense
expect 2 err 'need a PARAMETER_FILE' -- --card 00012345
expect 2 err 'more than one PARAMETER_FILE' -- a.spf b.spf
expect 0 out 'Usage: card_image [options] [PARAMETER_FILE]' -- --help
expect 0 out 'card_image ' -- --version
# Qt's own options are taken by the application, not refused.
expect 0 out 'Usage: card_image' -- -platform offscreen --help
# --help and --version need no display at all.
QT_QPA_PLATFORM=xcb DISPLAY=:999 expect 0 out 'card_image ' -- --version
echo "command_line: ok"
