#!/usr/bin/env bash
# Recovery after a kill: a deposit typed into the untitled register, the
# program killed with SIGKILL before anything was saved, then started again:
# after the start-up message it offers the changes, Yes brings the deposit
# back unsaved, and saving it writes the record that was typed.
#   recovery.sh <path to termdeposit>
# With E2E_SCREENSHOT_DIR set, the recovery question is photographed there.
program=$(realpath "$1")
source "$(dirname "$0")/harness.sh"

DETAILS='^Quendarith Information Technology Term Deposit Details$'
A1001=(A1001 0 5.5 2 0 31/01/2024 31/01/2026 '$20,000.00' '$22,319.95' Yes)
register="$E2E_WORK/home/recovered.tmd"
copies="$XDG_STATE_HOME/termdeposit/recovery"

# e2e_wait_copies <count>: waits until the folder holds that many recovery copies.
e2e_wait_copies() {
    for _ in $(seq 100); do
        [ "$(find "$copies" -name '*.tdrecovery' 2>/dev/null | wc -l)" -eq "$1" ] && return 0
        sleep 0.1
    done
    ls -la "$copies" >&2 || true
    e2e_fail "the recovery folder does not hold $1 copies"
}

e2e_start_x
e2e_start_program "$program"

step "a deposit typed and added; its recovery copy is written"
main=$(e2e_past_startup)
e2e_key ctrl+n
e2e_wait_window "$DETAILS" >/dev/null
e2e_type A1001
e2e_key Tab
e2e_type 5.5
e2e_key Tab
e2e_type 2
e2e_key Tab
e2e_type 31012024
e2e_key Tab
e2e_type 20000
e2e_key Return
e2e_wait_gone "$DETAILS"
e2e_wait_copies 1

step "killed with SIGKILL: the copy stays"
kill -9 "$E2E_PROGRAM"
wait "$E2E_PROGRAM" 2>/dev/null || true
e2e_wait_copies 1

step "started again: the question follows the start-up message; Yes recovers"
e2e_start_program "$program"
e2e_activate "$(e2e_wait_window "$STARTUP")"
e2e_key Return
id=$(e2e_wait_window '^Recover Changes\?$')
e2e_shot recovery-question "$id"
e2e_activate "$id"
e2e_key Return
main=$(e2e_wait_window "${MAIN}Untitled$")

step "saved, the file holds the deposit typed before the kill; the copy goes"
e2e_activate "$main"
e2e_key ctrl+s
e2e_choose_file "Save As" "$register"
e2e_wait_window "${MAIN}${register}$" >/dev/null
e2e_record "${A1001[@]}" >"$E2E_WORK/expected.tmd"
e2e_expect_same "$E2E_WORK/expected.tmd" "$register" "the recovered register did not save the deposit typed"
e2e_wait_copies 0

step "Exit with nothing to save ends at once and leaves nothing to recover"
e2e_activate "$main"
e2e_key alt+f x
e2e_wait_program_end
e2e_start_program "$program"
e2e_activate "$(e2e_wait_window "$STARTUP")"
e2e_key Return
e2e_wait_window "${MAIN}Untitled$" >/dev/null
sleep 1
xdotool search --onlyvisible --name '^Recover Changes\?$' >/dev/null 2>&1 && e2e_fail "a recovery was offered after a clean exit"
echo "PASS"
