#!/usr/bin/env bash
# check_command_line.sh <card_image>: the built program, with no display at all, refuses every
# malformed command line with exit status 2 and one Chinese line on standard error (nothing from
# Qt, no window, no hang); --help and --version answer on standard output with status 0.
set -uo pipefail

program=$1
out=$(mktemp) err=$(mktemp)
# A runtime folder of its own, so that Qt has nothing to say about a missing one.
XDG_RUNTIME_DIR=$(mktemp -d)
export XDG_RUNTIME_DIR
trap 'rm -f "$out" "$err"; rm -rf "$XDG_RUNTIME_DIR"' EXIT
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
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

# Each usage error: the line after "card_image: " | the arguments (split at spaces).
while IFS='|' read -r text arguments; do
    read -ra argv <<<"$arguments"
    expect 2 err "card_image: $text" -- "${argv[@]}"
done <<'ROWS'
--date：不是 YYYY-MM-DD 形式的日期：2026-13-40|--date 2026-13-40 site.spf
--date：不是 YYYY-MM-DD 形式的日期：2026-2-3|--report d.pdf --date 2026-2-3 site.spf
--days：天數須是 1 到 3660 的整數：0|--history --card 7 --days 0 site.spf
--days：天數須是 1 到 3660 的整數：3661|--history --card 7 --days 3661 site.spf
--days：天數須是 1 到 3660 的整數：100000|--report h.pdf --card 7 --days 100000 site.spf
不認識的選項：--nonsense|--nonsense site.spf
不認識的選項：--nonsense|-platform offscreen --nonsense site.spf
--history 需要 --card|--history site.spf
--days 需要 --history、--exceptions 或 --report|--days 7 site.spf
--days 需要 --card|--report h.pdf --days 7 site.spf
--report：檔名須以 .pdf 或 .csv 結尾：d.txt|--report d.txt site.spf
--date、--card、--direction 與 --report 需要參數檔 PARAMETER_FILE|--report d.pdf
--date、--card、--direction 與 --report 需要參數檔 PARAMETER_FILE|--card 00012345
只能給一個參數檔 PARAMETER_FILE：a.spf, b.spf|a.spf b.spf
--direction：只能是 in、out 或 all：sideways|--direction sideways site.spf
--exceptions 與 --history 不能一起用|--exceptions --history --card 7 site.spf
--present 需要 --report|--present site.spf
--time：不是 hh:mm:ss 形式的時間：8:00|--report r.csv --present --time 8:00 site.spf
--time 需要 --present 或 --evidence|--time 08:00:00 site.spf
--case 需要 --report 或 --evidence|--case 夜班
--cases-db 只能給一次|--cases-db a.sqlite --cases-db b.sqlite
--evidence 需要 --card|--evidence e.zip site.spf
--evidence：檔名須以 .zip 結尾：e.pdf|--evidence e.pdf --card 7 site.spf
--with-day-files 需要 --evidence|--with-day-files site.spf
--map：應寫成 Windows資料夾=本機資料夾|--map nonsense site.spf
--verify 後面少了值|--verify
--live 不取值|--live=yes site.spf
ROWS

expect 0 out 'Usage: card_image [options] [PARAMETER_FILE]' -- --help
expect 0 out 'card_image ' -- --version
# Qt's own options are left to the application, not refused.
expect 0 out 'Usage: card_image' -- -platform offscreen --help
QT_QPA_PLATFORM=xcb DISPLAY=:999 expect 0 out 'card_image ' -- --version
echo "command_line: ok"
