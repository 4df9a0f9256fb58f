#!/usr/bin/env bash
# One deposit file and two copies of the program, as on a shared folder: the
# second copy is told who holds the file before it opens it, and a save asks
# before it replaces what another program added to the file.
#   sharing.sh <path to termdeposit>
program=$(realpath "$1")
source "$(dirname "$0")/harness.sh"

shared="$E2E_WORK/shared.tmd"
e2e_record AC100234-07 '$150.00' 5.25 3 6 14/02/2021 14/08/2024 '$12,500.00' '$14,927.33' Yes >"$shared"

e2e_start_x
e2e_start_program "$program"
first_pid=$E2E_PROGRAM
first=$(e2e_past_startup)

step "The first copy opens the file and holds its lock"
e2e_key ctrl+o
e2e_choose_file "Open" "$shared"
first=$(e2e_wait_window "${MAIN}${shared}$")
[ -f "$E2E_WORK/.shared.tmd.lock" ] || e2e_fail "no lock beside the open file"

step "The second copy is told which process holds the file; No leaves it untitled"
e2e_start_program "$program"
second=$(e2e_past_startup)
e2e_key ctrl+o
e2e_choose_file "Open" "$shared"
id=$(e2e_wait_window '^Term Deposit File In Use$')
e2e_shot file-in-use "$id"
e2e_activate "$id"
e2e_key Escape
e2e_wait_gone '^Term Deposit File In Use$'
e2e_wait_window "${MAIN}Untitled$" >/dev/null
grep -q "^$first_pid\$" "$E2E_WORK/.shared.tmd.lock" || e2e_fail "the lock no longer names the first copy"

step "Another program adds a record; the first copy's save asks, and No keeps it"
e2e_record FROM-ELSEWHERE 0 4 1 0 01/01/2024 01/01/2025 '$1,000.00' '$1,040.74' No >>"$shared"
e2e_activate "$first"
e2e_key ctrl+s
id=$(e2e_wait_window '^Save File\?$')
e2e_shot changed-elsewhere "$id"
e2e_activate "$id"
e2e_key Escape
e2e_wait_gone '^Save File\?$'
grep -q FROM-ELSEWHERE "$shared" || e2e_fail "the other program's record was replaced after No"

step "Saving again and answering Yes replaces the file with the register"
e2e_activate "$first"
e2e_key ctrl+s
id=$(e2e_wait_window '^Save File\?$')
e2e_activate "$id"
e2e_key Return
e2e_wait_gone '^Save File\?$'
[ "$(stat -c %s "$shared")" = 100 ] || e2e_fail "the file was not replaced by the one deposit shown"

step "Exit releases the lock"
e2e_activate "$first"
e2e_key alt+f x
for _ in $(seq 50); do [ -f "$E2E_WORK/.shared.tmd.lock" ] || break; sleep 0.1; done
[ -f "$E2E_WORK/.shared.tmd.lock" ] && e2e_fail "the lock stayed after Exit"
echo "PASS"
