# Shared steps of the end-to-end suite: an X server of our own, a window
# manager, the program, and keyboard and mouse through xdotool. Waits are on
# windows by title, never on sleeps alone.

set -euo pipefail

E2E_WORK=$(mktemp -d /tmp/td-e2e.XXXXXX)
# The program's state folder (its recovery copies) is the run's own, never the user's.
export XDG_STATE_HOME="$E2E_WORK/state"
MAIN='^Quendarith Information Technology Term Deposit - '
STARTUP='^Quendarith Information Technology Term Deposit$'
E2E_SHOTS=${E2E_SCREENSHOT_DIR:-}
E2E_PIDS=()

e2e_fail() {
    echo "FAIL: $*" >&2
    if command -v import >/dev/null; then
        import -display "$DISPLAY" -window root "$E2E_WORK/failure.png" 2>/dev/null &&
            echo "screen at the failure: $E2E_WORK/failure.png" >&2
    fi
    echo "open windows:" >&2
    xdotool search --onlyvisible --name '.' getwindowname %@ 2>/dev/null | sed 's/^/  /' >&2 || true
    exit 1
}

e2e_cleanup() {
    for pid in "${E2E_PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
}
trap e2e_cleanup EXIT

e2e_start_x() {
    # Xvfb picks a free display itself and writes its number to the pipe, so
    # suites running side by side never share a server. Without -noreset it
    # restarts when its last client leaves (xdpyinfo below), and openbox,
    # connecting in that moment, finds no display.
    local pipe="$E2E_WORK/displayfd" n=""
    mkfifo "$pipe"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$pipe" >"$E2E_WORK/xvfb.log" 2>&1 &
    E2E_PIDS+=($!)
    read -r -t 20 n <"$pipe" || e2e_fail "Xvfb did not start"
    export DISPLAY=":$n"
    xdpyinfo >/dev/null 2>&1 || e2e_fail "Xvfb did not start"
    openbox --sm-disable >"$E2E_WORK/openbox.log" 2>&1 &
    E2E_PIDS+=($!)
    # openbox is ready when it has set the root window's supporting-WM property.
    for _ in $(seq 300); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return 0
        sleep 0.1
    done
    e2e_fail "openbox did not start"
}

# e2e_start_accessibility: the accessibility bus (AT-SPI) on the D-Bus session
# that the script runs in, and programs started after it speak on it.
e2e_start_accessibility() {
    # Runs side by side share and remove one bus socket unless each has its own folder.
    export XDG_RUNTIME_DIR="$E2E_WORK" QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
    /usr/libexec/at-spi-bus-launcher --launch-immediately >"$E2E_WORK/at-spi.log" 2>&1 &
    E2E_PIDS+=($!)
    for _ in $(seq 100); do
        dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress \
            >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    e2e_fail "the accessibility bus did not start"
}

# e2e_start_program <binary> [arguments...]: starts the program with a home of its own.
e2e_start_program() {
    mkdir -p "$E2E_WORK/home"
    (cd "$E2E_WORK/home" && HOME="$E2E_WORK/home" XDG_RUNTIME_DIR="$E2E_WORK" LC_ALL=C.UTF-8 \
        QT_QPA_PLATFORM=xcb exec "$@" >"$E2E_WORK/program.log" 2>&1) &
    E2E_PROGRAM=$!
    E2E_PIDS+=($E2E_PROGRAM)
}

# e2e_wait_window <title regex> [seconds]: prints the id of the visible window.
e2e_wait_window() {
    local pattern=$1 seconds=${2:-20} id
    for _ in $(seq $((seconds * 10))); do
        id=$(xdotool search --onlyvisible --name "$pattern" 2>/dev/null | tail -n 1 || true)
        if [ -n "$id" ]; then
            echo "$id"
            return 0
        fi
        sleep 0.1
    done
    e2e_fail "no window titled /$pattern/ after ${seconds}s"
}

# e2e_expect_same <expected file> <file> <failure>: the window's title changes
# before the save has written its file, so the file is compared until it
# matches or 10 s have passed.
e2e_expect_same() {
    local expected=$1 actual=$2 failure=$3
    for _ in $(seq 100); do
        cmp -s "$expected" "$actual" && return 0
        sleep 0.1
    done
    cmp "$expected" "$actual"
    e2e_fail "$failure"
}

# e2e_wait_gone <title regex>: waits until no visible window has that title.
e2e_wait_gone() {
    local pattern=$1
    for _ in $(seq 200); do
        xdotool search --onlyvisible --name "$pattern" >/dev/null 2>&1 || return 0
        sleep 0.1
    done
    e2e_fail "window /$pattern/ is still open"
}

# e2e_activate <window id>: gives the window the keyboard focus.
e2e_activate() {
    xdotool windowactivate --sync "$1" 2>/dev/null || xdotool windowfocus --sync "$1"
    for _ in $(seq 50); do
        [ "$(xdotool getactivewindow 2>/dev/null)" = "$1" ] && return 0
        sleep 0.1
    done
    e2e_fail "window $1 did not take the focus"
}

e2e_key() { xdotool key --clearmodifiers --delay 30 "$@"; }
e2e_type() { xdotool type --clearmodifiers --delay 25 -- "$1"; }

# e2e_click <window id> <x> <y> [button]: clicks at a point of the window.
e2e_click() {
    xdotool mousemove --window "$1" --sync "$2" "$3" click "${4:-1}"
}

e2e_double_click() {
    xdotool mousemove --window "$1" --sync "$2" "$3" click --repeat 2 --delay 80 1
}

# e2e_shot <name> [window id]: a screenshot for the user guide, when asked for.
e2e_shot() {
    [ -n "$E2E_SHOTS" ] || return 0
    mkdir -p "$E2E_SHOTS"
    sleep 0.3  # let the last paint land; the wait itself was on the window
    if [ -n "${2:-}" ]; then
        import -display "$DISPLAY" -window "$2" -frame "$E2E_SHOTS/$1.png" 2>/dev/null ||
            import -display "$DISPLAY" -window "$2" "$E2E_SHOTS/$1.png"
    else
        import -display "$DISPLAY" -window root "$E2E_SHOTS/$1.png"
    fi
}

e2e_expect_program_running() {
    kill -0 "$E2E_PROGRAM" 2>/dev/null || e2e_fail "the program has ended"
}

# e2e_wait_program_end: the program must end by itself.
e2e_wait_program_end() {
    for _ in $(seq 100); do
        kill -0 "$E2E_PROGRAM" 2>/dev/null || return 0
        sleep 0.1
    done
    e2e_fail "the program did not end"
}

step() { echo "== $*"; }

# e2e_record <ten texts>: one deposit file record, ten space-filled fields and a carriage return.
e2e_record() { printf '%-20s%-15s%-7s%-2s%-2s%-10s%-10s%-15s%-15s%-3s\r' "$@"; }

# e2e_past_startup: answers the start-up message and prints the id of the
# empty untitled main window, which then has the focus.
e2e_past_startup() {
    local id
    id=$(e2e_wait_window "$STARTUP")
    e2e_shot startup-message "$id"
    e2e_activate "$id"
    e2e_key Return
    id=$(e2e_wait_window "${MAIN}Untitled$")
    e2e_activate "$id"
    echo "$id"
}

# e2e_choose_file <title> <path> [screenshot name]: types a path into the
# Open or Save As dialog that is opening and accepts it.
e2e_choose_file() {
    local id
    id=$(e2e_wait_window "^$1\$")
    e2e_activate "$id"
    [ -n "${3:-}" ] && e2e_shot "$3" "$id"
    e2e_type "$2"
    e2e_key Return
}
