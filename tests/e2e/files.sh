#!/usr/bin/env bash
# Deposit files as a person uses them: open a file, save it under another
# name, start afresh, open the copy and see the same rows; a save into a
# folder that does not exist is reported and changes nothing.
#   files.sh <path to termdeposit>
program=$(realpath "$1")
source "$(dirname "$0")/harness.sh"


# Three deposits written by hand: ten space-filled fields and a carriage return.
original="$E2E_WORK/original.tmd"
{
    e2e_record AC100234-07 '$150.00' 5.25 3 6 14/02/2021 14/08/2024 '$12,500.00' '$14,927.33' Yes
    e2e_record SAV-9 0 4 1 0 01/01/2024 01/01/2025 '$1,000.00' '$1,040.74' No
    e2e_record TD-2024-001 0 3.9 2 0 31/01/2024 31/01/2026 '$25,000.00' '$27,027.99' Yes
} >"$original"
copy="$E2E_WORK/copy.tmd"

e2e_start_x
e2e_start_program "$program"

main=$(e2e_past_startup)

step "File > Open shows the file's deposits and its path in the title"
e2e_key ctrl+o
e2e_choose_file "Open" "$original"
main=$(e2e_wait_window "${MAIN}${original}$")
e2e_shot file-opened "$main"

step "File > Save As writes the same bytes under the new name"
e2e_activate "$main"
e2e_key ctrl+a
e2e_choose_file "Save As" "$copy"
main=$(e2e_wait_window "${MAIN}${copy}$")
e2e_expect_same "$original" "$copy" "the saved file differs from the opened one"

step "File > New, then Open the copy: the same rows come back"
e2e_activate "$main"
e2e_key alt+f n
main=$(e2e_wait_window "${MAIN}Untitled$")
e2e_activate "$main"
e2e_key ctrl+o
e2e_choose_file "Open" "$copy"
main=$(e2e_wait_window "${MAIN}${copy}$")
e2e_shot copy-opened "$main"

step "Save As into a folder that does not exist is reported; nothing changes"
e2e_activate "$main"
e2e_key ctrl+a
e2e_choose_file "Save As" "$E2E_WORK/missing/new.tmd"
id=$(e2e_wait_window '^Term Deposit File Error$')
e2e_shot file-error "$id"
e2e_activate "$id"
e2e_key Return
e2e_wait_gone '^Term Deposit File Error$'
e2e_expect_same "$original" "$copy" "the copy changed"

step "Exit with nothing to save ends at once"
main=$(e2e_wait_window "$MAIN")
e2e_activate "$main"
e2e_key alt+f x
e2e_wait_program_end
echo "PASS"
