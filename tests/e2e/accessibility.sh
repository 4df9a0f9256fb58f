#!/usr/bin/env bash
# The program as a screen reader user meets it, through AT-SPI: the New
# picture button pressed by its action, the future value read from the
# details dialog and its change heard as it is typed, the maturities window
# found as a window and its totals read, the grid's focus heard moving from
# cell to cell.
#   accessibility.sh <path to termdeposit>
# Runs in a D-Bus session and an accessibility bus of its own.
if [ -z "${TD_E2E_SESSION:-}" ]; then
    TD_E2E_SESSION=1 exec dbus-run-session -- bash "$0" "$@"
fi
program=$(realpath "$1")
source "$(dirname "$0")/harness.sh"
atspi=$(dirname "$(realpath "$0")")/atspi.py

DETAILS='^Quendarith Information Technology Term Deposit Details$'

e2e_start_x
e2e_start_accessibility
e2e_start_program "$program"
main=$(e2e_past_startup)

step "a listener for text changes, as a screen reader has"
"$atspi" listen "$E2E_WORK/heard" &
E2E_PIDS+=($!)
for _ in $(seq 200); do grep -q '^listening$' "$E2E_WORK/heard" 2>/dev/null && break; sleep 0.1; done
grep -q '^listening$' "$E2E_WORK/heard" || e2e_fail "the listener did not start"

step "the New picture button, pressed through its action, opens the details dialog"
"$atspi" press "${MAIN}Untitled$" New || e2e_fail "New could not be pressed"
details=$(e2e_wait_window "$DETAILS")
e2e_activate "$details"

step "a deposit typed in; the future value is read and its change heard"
e2e_type A1001
e2e_key Tab
e2e_type 5.5
e2e_key Tab
e2e_type 2
e2e_key Tab Tab
e2e_type 10000
value=""
for _ in $(seq 200); do
    value=$("$atspi" text "$DETAILS" "Future Value") || e2e_fail "the future value cannot be read"
    [ "$value" = '$11,159.98' ] && break
    sleep 0.1
done
[ "$value" = '$11,159.98' ] || e2e_fail "the future value reads \"$value\""
for _ in $(seq 200); do grep -qxF $'Future Value\t$11,159.98' "$E2E_WORK/heard" && break; sleep 0.1; done
grep -qxF $'Future Value\t$11,159.98' "$E2E_WORK/heard" || e2e_fail "the change of the future value was not heard"

step "Escape closes the dialog"
e2e_key Escape
e2e_wait_gone "$DETAILS"
main=$(e2e_wait_window "${MAIN}Untitled$")

step "the maturities window is a window named by its title; its totals are read as sentences"
MATURITIES='^Quendarith Information Technology Maturities$'
e2e_activate "$main"
e2e_key ctrl+t
maturities=$(e2e_wait_window "$MATURITIES")
role=$("$atspi" role "$MATURITIES") || e2e_fail "the maturities window cannot be found"
[ "$role" = frame ] || e2e_fail "the maturities window reads as a \"$role\", not a window"
for totals in 'Active deposits: 0. Account balance $0.00, value today $0.00, future value $0.00, interest to earn $0.00.' \
              'All deposits: 0. Account balance $0.00, value today $0.00, future value $0.00, interest to earn $0.00.'; do
    read=$("$atspi" starting "$MATURITIES" "${totals%%:*}:") || e2e_fail "the totals cannot be read"
    [ "$read" = "$totals" ] || e2e_fail "the totals read \"$read\""
done
e2e_activate "$maturities"
e2e_key Escape
e2e_wait_gone "$MATURITIES"

step "keys that move the grid's current cell move the reader's focus to that cell"
e2e_activate "$main"
e2e_key Home End
# Ten header cells come first, then the cells row by row: the spare row's
# first and last cells are children 10 and 19.
for child in 10 19; do
    for _ in $(seq 200); do grep -qxF "focus	Term deposits	$child" "$E2E_WORK/heard" && break; sleep 0.1; done
    grep -qxF "focus	Term deposits	$child" "$E2E_WORK/heard" || e2e_fail "the focus was not heard on cell $child"
done

step "Exit with nothing to save ends"
e2e_key alt+f x
e2e_wait_program_end
echo "PASS"
