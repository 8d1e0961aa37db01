#!/usr/bin/env bash
# run_e2e.sh <build folder>: runs the viewer in a real X session and drives it as a person would.
#
# Starts Xvfb on a free display, the jwm window manager, a private D-Bus session with the
# accessibility bus, writes a sample site and starts the viewer on it; e2e_session.py then sends
# keys and mouse clicks with xdotool and checks every step through AT-SPI. Screenshots and logs
# are left in <build>/e2e_artifacts. With CARD_E2E_DOCS=<folder> the README's screenshots are
# written there as well. Exits 77 (skipped) when the build has no developer tools.
set -euo pipefail

readonly skip_code=77
readonly site_date=2007-05-07 # a fixed week keeps the screenshots the same from run to run
readonly start_timeout=15     # seconds for the X server and the window manager to come up

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

# Inside the D-Bus session: the accessibility bus, the viewer and the script that drives it.
if [[ ${1:-} == --in-session ]]; then
    build=$2 work=$3 artifacts=$4
    # Qt finds the accessibility bus through this call; activated services must see the display.
    dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress \
        >/dev/null
    dbus-update-activation-environment DISPLAY XDG_RUNTIME_DIR

    # What the program needs in this X session, whatever the caller's environment holds (a
    # QT_QPA_PLATFORM=offscreen exported for headless tests would keep it off the bus).
    (cd "$work/site" && QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 \
        exec "$build/src/app/card_image") \
        >"$artifacts/card_image.log" 2>&1 &
    app=$!
    trap 'kill "$app" 2>/dev/null || true' EXIT

    status=0
    # The screenshot tool, started by the script, must grab this display too.
    QT_QPA_PLATFORM=xcb /usr/bin/python3 -u "$here/e2e_session.py" \
        --site "$work/site" --site-date "$site_date" \
        --grab "$build/tools/grab_screen/grab_screen" --artifacts "$artifacts" \
        --sample-site "$build/tools/sample_site/sample_site" \
        ${CARD_E2E_DOCS:+--docs "$CARD_E2E_DOCS"} || status=$?
    if ((status == 0)); then
        # The script closed the main window: the program must end, and end well.
        for ((i = 0; i < 100; i++)); do
            [[ -e /proc/$app && $(awk '{print $3}' "/proc/$app/stat" 2>/dev/null) != Z ]] || break
            sleep 0.1
        done
        app_status=0
        wait "$app" || app_status=$?
        if ((app_status != 0)); then
            echo "e2e: card_image ended with status $app_status after its window was closed" >&2
            status=1
        fi
    fi
    exit "$status"
fi

build=$(cd "${1:?usage: run_e2e.sh <build folder>}" && pwd)
for tool in tools/sample_site/sample_site tools/grab_screen/grab_screen; do
    if [[ ! -x $build/$tool ]]; then
        echo "e2e: skipped, the build has no $tool (CARD_BUILD_TOOLS=OFF)"
        exit "$skip_code"
    fi
done
missing=()
for command in Xvfb jwm xdotool xprop dbus-run-session dbus-send \
    dbus-update-activation-environment /usr/bin/python3; do
    command -v "$command" >/dev/null || missing+=("$command")
done
if ((${#missing[@]} > 0)); then
    echo "e2e: missing ${missing[*]}: run scripts/setup.sh --tests" >&2
    exit 1
fi
if ! /usr/bin/python3 -c 'import pyatspi' 2>/dev/null; then
    echo "e2e: Debian's python3 has no pyatspi (package python3-pyatspi): run scripts/setup.sh --tests" >&2
    exit 1
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/card_e2e.XXXXXX")
artifacts=$build/e2e_artifacts
rm -rf "$artifacts"
mkdir -p "$artifacts"
xvfb_pid='' jwm_pid='' session_group=''

# Ends what this script started, newest first. The session runs in its own process group, so the
# accessibility services it activated go with it.
cleanup() {
    [[ -n $session_group ]] && kill -- "-$session_group" 2>/dev/null
    [[ -n $jwm_pid ]] && kill "$jwm_pid" 2>/dev/null
    [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

fail() {
    echo "e2e: $*" >&2
    exit 1
}

# Waits until the command succeeds, at most start_timeout seconds.
wait_until() {
    local what=$1
    shift
    for ((i = 0; i < start_timeout * 10; i++)); do
        "$@" >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    fail "$what: not ready within $start_timeout s"
}

started=$(date +%s%N)

# The X server picks a free display itself and writes its number to file descriptor 3. The screen
# has room for the inspection window beside the main window.
Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp -noreset \
    3>"$work/display" >"$artifacts/xvfb.log" 2>&1 &
xvfb_pid=$!
wait_until "Xvfb" test -s "$work/display"
export DISPLAY=:$(head -n 1 "$work/display")
echo "e2e: X display $DISPLAY"

# A window manager without panels or menus, so that screenshots show the program alone.
cat >"$work/jwmrc" <<'JWMRC'
<?xml version="1.0"?>
<JWM>
    <Desktops width="1" height="1"/>
    <FocusModel>click</FocusModel>
    <Key mask="A" key="F4">close</Key>
</JWM>
JWMRC
jwm -f "$work/jwmrc" >"$artifacts/jwm.log" 2>&1 &
jwm_pid=$!
# A window mapped before the manager runs would stay unframed.
wait_until "the window manager" sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"'

"$build/tools/sample_site/sample_site" --date "$site_date" "$work/site" >"$artifacts/site.log" 2>&1 ||
    fail "sample_site failed: $(cat "$artifacts/site.log")"

# The accessibility bus keeps its socket in the runtime folder: a private one per run.
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
export LC_ALL=C.UTF-8
# A home of its own: the settings start empty, and the save dialog opens in its Documents, where
# a folder dated in the sample week shows the dialog's folder type and date.
mkdir -p "$work/home/Documents/報表"
touch -d "$site_date 08:00" "$work/home/Documents/報表"
export HOME=$work/home

status=0
setsid dbus-run-session -- bash "$here/run_e2e.sh" --in-session "$build" "$work" "$artifacts" \
    2> >(grep --line-buffered -v -e 'Failed to set fd limit' -e 'Activating service' \
        -e 'Successfully activated' >&2) &
session_group=$!
wait "$session_group" || status=$?

tenths=$((($(date +%s%N) - started) / 100000000))
outcome=$( ((status == 0)) && echo passed || echo FAILED)
echo "e2e: $outcome in $((tenths / 10)).$((tenths % 10)) s; screenshots and logs in $artifacts"
exit "$status"
