#!/usr/bin/env bash
# The installed package at work: the program unpacked from the .deb into a
# throw-away root is started as a file manager starts it for a deposit file
# (the menu entry's Exec line, the file for %f). After the start-up message
# the file's deposits are in the grid, read through the accessibility bus as
# a screen reader reads them; a file that cannot be opened leaves the empty
# untitled register behind Open's message.
#   installed.sh <root the package was unpacked into>
root=$(realpath "$1")

# The accessibility bus lives on a session bus of this test's own.
if [ -z "${TD_E2E_SESSION:-}" ]; then
    for tool in dbus-run-session /usr/libexec/at-spi-bus-launcher; do
        [ -x "$(command -v "$tool")" ] ||
            { echo "SKIP: $tool missing (Debian packages dbus-daemon, at-spi2-core)"; exit 77; }
    done
    /usr/bin/python3 -c 'import pyatspi' 2>/dev/null ||
        { echo "SKIP: pyatspi missing (Debian package python3-pyatspi)"; exit 77; }
    TD_E2E_SESSION=1 exec dbus-run-session -- bash "$0" "$@"
fi

source "$(dirname "$0")/harness.sh"
atspi=$(dirname "$(realpath "$0")")/atspi.py

entry="$root/usr/share/applications/termdeposit.desktop"
[ -f "$entry" ] || e2e_fail "no menu entry in the package"
read -r -a exec_words <<<"$(sed -n 's/^Exec=//p' "$entry")"

# e2e_start_from_menu_entry <file>: the Exec line with the file for %f and the
# program found in the package's bin folder.
e2e_start_from_menu_entry() {
    local command=() word
    for word in "${exec_words[@]}"; do
        case $word in
            %f) command+=("$1") ;;
            */*) command+=("$word") ;;
            *) command+=("$root/usr/bin/$word") ;;
        esac
    done
    [ -x "${command[0]}" ] || e2e_fail "the menu entry's program ${command[0]} is not in the package"
    e2e_start_program "${command[@]}"
}

# A name with a space in it, as files in a home folder often have.
register="$E2E_WORK/My deposits.tmd"
{
    e2e_record AC100234-07 '$150.00' 5.25 3 6 14/02/2021 14/08/2024 '$12,500.00' '$14,927.33' Yes
    e2e_record SAV-9 0 4 1 0 01/01/2024 01/01/2025 '$1,000.00' '$1,040.74' No
    e2e_record TD-2024-001 0 3.9 2 0 31/01/2024 31/01/2026 '$25,000.00' '$27,027.99' Yes
} >"$register"

e2e_start_x
e2e_start_accessibility

step "in a terminal: --version answers, anything else is refused with status 2"
program="$root/usr/bin/termdeposit"
[ "$("$program" --version)" = "termdeposit 1.0" ] || e2e_fail "--version does not answer"
"$program" --help | grep -q '^Usage: .*termdeposit \[options\] \[file\]$' || e2e_fail "--help does not answer"
status=0
"$program" --print "$register" 2>"$E2E_WORK/stderr.txt" >/dev/null || status=$?
[ "$status" = 2 ] || e2e_fail "an unknown option ends with status $status"
[ "$(cat "$E2E_WORK/stderr.txt")" = "termdeposit: Unknown option 'print'. Try 'termdeposit --help'." ] ||
    e2e_fail "an unknown option is not named on standard error: $(cat "$E2E_WORK/stderr.txt")"

step "the start-up message comes first, then the file's deposits are in the grid"
e2e_start_from_menu_entry "$register"
id=$(e2e_wait_window "$STARTUP")
xdotool search --onlyvisible --name "$MAIN" >/dev/null 2>&1 && e2e_fail "the main window came before the start-up message"
e2e_activate "$id"
e2e_key Return
main=$(e2e_wait_window "${MAIN}${register}$")
e2e_shot installed-opened "$main"
"$atspi" grid "${MAIN}${register}$" >"$E2E_WORK/grid.txt" || e2e_fail "the grid could not be read"
cat "$E2E_WORK/grid.txt"
expected="# Term deposits
AC100234-07|\$150.00|5.25|3|6|14/02/2021|14/08/2024|\$12,500.00|\$14,927.33|Yes
SAV-9|0|4|1|0|01/01/2024|01/01/2025|\$1,000.00|\$1,040.74|No
TD-2024-001|0|3.9|2|0|31/01/2024|31/01/2026|\$25,000.00|\$27,027.99|Yes
|||||||||"
[ "$(cat "$E2E_WORK/grid.txt")" = "$expected" ] || e2e_fail "the grid does not show the file's deposits"
e2e_activate "$main"
e2e_key alt+f x
e2e_wait_program_end

step "a file that is not there: Open's message, then the empty untitled register"
e2e_start_from_menu_entry "$E2E_WORK/missing.tmd"
id=$(e2e_wait_window "$STARTUP")
e2e_activate "$id"
e2e_key Return
id=$(e2e_wait_window '^Term Deposit File Error$')
e2e_activate "$id"
e2e_key Return
e2e_wait_gone '^Term Deposit File Error$'
main=$(e2e_wait_window "${MAIN}Untitled$")
"$atspi" grid "${MAIN}Untitled$" >"$E2E_WORK/grid.txt" || e2e_fail "the grid could not be read"
[ "$(tail -n +2 "$E2E_WORK/grid.txt")" = "|||||||||" ] || e2e_fail "the register is not empty"
e2e_activate "$main"
e2e_key alt+f x
e2e_wait_program_end
echo "PASS"
