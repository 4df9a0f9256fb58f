#!/usr/bin/env bash
# One day's work with the register, done as a person does it: keyboard and
# mouse only, every step waiting on the window it expects by its title.
#   workflow.sh <path to termdeposit>
# With E2E_SCREENSHOT_DIR set, screenshots of every window land there.
program=$(realpath "$1")
source "$(dirname "$0")/harness.sh"

MAIN='^Quendarith Information Technology Term Deposit - '
STARTUP='^Quendarith Information Technology Term Deposit$'

e2e_start_x
e2e_start_program "$program"

step() { echo "== $*"; }

step "start-up message, then the empty untitled register"
id=$(e2e_wait_window "$STARTUP")
e2e_shot startup-message "$id"
e2e_activate "$id"
e2e_key Return
main=$(e2e_wait_window "${MAIN}Untitled$")
e2e_activate "$main"
e2e_shot main-window "$main"

step "About box opens from the Help menu and closes with Enter"
e2e_key alt+h a
id=$(e2e_wait_window '^About$')
e2e_shot about "$id"
e2e_key Return
e2e_wait_gone '^About$'

step "Exit with nothing changed ends at once"
e2e_activate "$main"
e2e_key alt+f x
e2e_wait_program_end
echo "PASS"
