#!/usr/bin/env bash
# One day's work with the register, done as a person does it: keyboard and
# mouse only, every step waiting on the window it expects by its title.
#   workflow.sh <path to termdeposit>
# With E2E_SCREENSHOT_DIR set, screenshots of every window land there.
program=$(realpath "$1")
source "$(dirname "$0")/harness.sh"

DETAILS='^Quendarith Information Technology Term Deposit Details$'

# Places in the main window (pixels from its top left corner): the key
# column of the first and second deposit rows.
ROW1=(40 124)
ROW2=(40 140)
# Places in the details dialog: the monthly saving switch, the No option and
# the account balance box.
SAVE_SWITCH=(340 120)
OPT_NO=(195 324)
BALANCE=(160 241)

# The file a save must write: ten space-filled fields and a carriage return a deposit.
A1001=(A1001 0 5.5 2 0 31/01/2024 31/01/2026 '$20,000.00' '$22,319.95' Yes)
B2002=(B2002 '$100.00' 4.25 1 0 15/06/2023 15/06/2024 '$5,000.00' '$6,440.34' No)
register="$E2E_WORK/home/register.tmd"

e2e_start_x
e2e_start_program "$program"

step "start-up message, then the empty untitled register"
main=$(e2e_past_startup)
e2e_shot main-window-empty "$main"

step "Ctrl+N, a deposit typed in tab order, added with Enter"
e2e_key ctrl+n
details=$(e2e_wait_window "$DETAILS")
e2e_shot details-new "$details"
e2e_type A1001
e2e_key Tab
e2e_type 5.5
e2e_key Tab
e2e_type 2
e2e_key Tab
e2e_type 31012024
e2e_key Tab
e2e_type 10000
e2e_key Return
e2e_wait_gone "$DETAILS"

step "a second deposit with monthly saving switched on, not active"
e2e_activate "$main"
e2e_key ctrl+n
details=$(e2e_wait_window "$DETAILS")
e2e_type B2002
e2e_click "$details" "${SAVE_SWITCH[@]}"
e2e_type 100
e2e_key Tab
e2e_type 4.25
e2e_key Tab
e2e_type 1
e2e_key Tab
e2e_type 15062023
e2e_key Tab
e2e_type 5000
e2e_click "$details" "${OPT_NO[@]}"
e2e_shot details-filled "$details"
e2e_key Return
e2e_wait_gone "$DETAILS"

step "Edit by double click, a new balance, and the overwrite answered Yes"
e2e_activate "$main"
e2e_double_click "$main" "${ROW1[@]}"
details=$(e2e_wait_window "$DETAILS")
e2e_click "$details" "${BALANCE[@]}"
e2e_key ctrl+a
e2e_type 20000
e2e_key Return
id=$(e2e_wait_window '^Over Write Term Deposit\?$')
e2e_shot overwrite-question "$id"
e2e_key Return
e2e_wait_gone "$DETAILS"
main=$(e2e_wait_window "${MAIN}Untitled$")
e2e_shot main-window "$main"

step "Save to a new file through the Save dialog; the bytes are the two records"
e2e_activate "$main"
e2e_key ctrl+s
e2e_choose_file "Save As" "${register%.tmd}" save-dialog
main=$(e2e_wait_window "${MAIN}${register}$")
{ e2e_record "${A1001[@]}"; e2e_record "${B2002[@]}"; } >"$E2E_WORK/expected.tmd"
e2e_expect_same "$E2E_WORK/expected.tmd" "$register" "the saved file is not the expected records"

step "File > New empties the register; Open brings the rows back"
e2e_activate "$main"
e2e_key alt+f n
main=$(e2e_wait_window "${MAIN}Untitled$")
e2e_activate "$main"
e2e_key ctrl+o
e2e_choose_file Open "$register" open-dialog
main=$(e2e_wait_window "${MAIN}${register}$")
# Saving the reopened register again must give the same bytes; the save
# replaces the file whole, so it is done when the name points to a new file.
before=$(stat -c %i "$register")
e2e_activate "$main"
e2e_key ctrl+s
for _ in $(seq 100); do [ "$(stat -c %i "$register")" != "$before" ] && break; sleep 0.1; done
[ "$(stat -c %i "$register")" != "$before" ] || e2e_fail "Save did not replace the file"
e2e_expect_same "$E2E_WORK/expected.tmd" "$register" "the reopened register did not save the same records"

step "Search finds B2002 typed in lower case and opens it"
e2e_activate "$main"
e2e_key ctrl+c
search=$(e2e_wait_window '^Quendarith Information Technology Search$')
e2e_type "b2002 "
e2e_shot search "$search"
e2e_key alt+o
details=$(e2e_wait_window "$DETAILS")
e2e_shot details-found "$details"
e2e_key Escape
e2e_wait_gone "$DETAILS"
e2e_wait_gone '^Quendarith Information Technology Search$'

step "Amortise the first deposit"
e2e_activate "$main"
e2e_click "$main" "${ROW1[@]}"
e2e_key ctrl+m
amortise=$(e2e_wait_window '^Lease Amortisation$')
e2e_shot amortise "$amortise"
e2e_activate "$amortise"
e2e_key alt+F4  # the window manager's close, as the close box does
e2e_wait_gone '^Lease Amortisation$'

step "Term Deposit > Maturities lists the deposits by term date; File > Export to CSV writes the register"
MATURITIES='^Quendarith Information Technology Maturities$'
e2e_activate "$main"
e2e_key alt+t m
maturities=$(e2e_wait_window "$MATURITIES")
e2e_activate "$maturities"
e2e_key Escape
e2e_wait_gone "$MATURITIES"
e2e_activate "$main"
e2e_key alt+f e
id=$(e2e_wait_window '^Export to CSV$')
e2e_activate "$id"
e2e_key ctrl+a  # the dialog proposes register.csv beside the register
e2e_type "$E2E_WORK/home/export.csv"
e2e_key Return
e2e_wait_gone '^Export to CSV$'
csv="$E2E_WORK/home/export.csv"
for _ in $(seq 100); do [ -s "$csv" ] && break; sleep 0.1; done
printf '%s\r\n' "Account Number,Save Each Month,Interest,Years,Months,Start Date,Term Date,Account Balance,Future Value,Active" \
    'A1001,0,5.5,2,0,31/01/2024,31/01/2026,"$20,000.00","$22,319.95",Yes' \
    'B2002,$100.00,4.25,1,0,15/06/2023,15/06/2024,"$5,000.00","$6,440.34",No' >"$E2E_WORK/expected.csv"
e2e_expect_same "$E2E_WORK/expected.csv" "$csv" "the exported register is not the expected CSV"

step "Term Deposit > Interest by Year, inactive deposits included, exported with Export..."
YEARS='^Quendarith Information Technology Interest by Year$'
e2e_activate "$main"
e2e_key alt+t i
years=$(e2e_wait_window "$YEARS")
e2e_activate "$years"
e2e_key alt+i
sleep 0.5  # the box ticks, and the rows and the chart follow it
e2e_shot interest-by-year "$years"
e2e_key alt+e
id=$(e2e_wait_window '^Export to CSV$')
e2e_activate "$id"
e2e_key ctrl+a
e2e_type "$E2E_WORK/home/years.csv"
e2e_key Return
e2e_wait_gone '^Export to CSV$'
csv="$E2E_WORK/home/years.csv"
for _ in $(seq 100); do [ -s "$csv" ] && break; sleep 0.1; done
printf '%s\r\n' "Year,Interest Earned,Maturing,Held at Year End" \
    '2023,$112.53,$0.00,"$5,712.53"' \
    '2024,"$1,159.57","$6,440.34","$21,031.76"' \
    '2025,"$1,186.36",$0.00,"$22,218.12"' \
    '2026,$101.83,"$22,319.95",$0.00' >"$E2E_WORK/expected-years.csv"
e2e_expect_same "$E2E_WORK/expected-years.csv" "$csv" "the exported years are not the expected CSV"
e2e_activate "$years"
e2e_key Escape
e2e_wait_gone "$YEARS"

step "Print all active deposits to a PDF file, after a look at the preview"
e2e_activate "$main"
e2e_key ctrl+p
options=$(e2e_wait_window '^Quendarith Term Deposit - Print$')
e2e_key alt+a
e2e_shot print-options "$options"
e2e_key alt+v  # the preview first, then back to the options
preview=$(e2e_wait_window '^Print Preview$')
e2e_shot print-preview "$preview"
e2e_key Escape
e2e_wait_gone '^Print Preview$'
e2e_activate "$options"
e2e_key Return
printer=$(e2e_wait_window '^Print$')
e2e_shot printer-dialog "$printer"
e2e_key Return
e2e_wait_gone '^Print$'
pdf="$E2E_WORK/home/print.pdf"
for _ in $(seq 100); do [ -s "$pdf" ] && break; sleep 0.1; done
[ -s "$pdf" ] || e2e_fail "no PDF was printed"
if command -v pdftotext >/dev/null; then
    text=$(pdftotext -layout "$pdf" -)
    grep -q 'A1001' <<<"$text" || e2e_fail "the listing lacks the active deposit"
    grep -q 'B2002' <<<"$text" && e2e_fail "the listing holds the inactive deposit"
fi

step "Delete the second deposit"
e2e_activate "$main"
e2e_click "$main" "${ROW2[@]}"
e2e_key ctrl+d
id=$(e2e_wait_window '^Delete$')
e2e_shot delete-question "$id"
e2e_key Return
e2e_wait_gone '^Delete$'

step "About box opens from the Help menu and closes with Enter"
e2e_activate "$main"
e2e_key alt+h a
id=$(e2e_wait_window '^About$')
e2e_shot about "$id"
e2e_key Return
e2e_wait_gone '^About$'

step "Exit asks to save the change once, saves, and ends"
e2e_activate "$main"
e2e_key alt+f x
id=$(e2e_wait_window '^Save File\?$')
e2e_shot save-first-question "$id"
e2e_key Return
e2e_wait_program_end
e2e_record "${A1001[@]}" >"$E2E_WORK/expected.tmd"
e2e_expect_same "$E2E_WORK/expected.tmd" "$register" "the file saved at Exit is not the one remaining record"
echo "PASS"
