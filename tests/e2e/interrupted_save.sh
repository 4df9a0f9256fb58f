#!/usr/bin/env bash
# A save that writes a hard-linked file in place is killed (kill -9) while it
# copies the new contents over the file: the mark and the complete copy stay
# beside the file, the next Open offers the copy, and saving it makes the file
# whole and only then removes the copy.
#   interrupted_save.sh <path to termdeposit>
program=$(realpath "$1")
source "$(dirname "$0")/harness.sh"

shared="$E2E_WORK/shared.tmd"
mark="$E2E_WORK/.shared.tmd.inplace"
register="$E2E_WORK/register.bytes"  # what the program holds and saves
other="$E2E_WORK/other.bytes"        # what another program writes over the file
trap 'rm -f "$E2E_WORK"/*.tmd "$E2E_WORK"/.shared.tmd.* "$register" "$other"; e2e_cleanup' EXIT

# 2^21 records, 200 MiB: the copy over the file takes long enough to be killed in.
e2e_record KEEP 0 4 1 0 01/01/2024 01/01/2025 '$1,000.00' '$1,040.74' Yes >"$register"
e2e_record PHANTOM 0 4 1 0 01/01/2024 01/01/2025 '$1,000.00' '$1,040.74' No >"$other"
for _ in $(seq 21); do
    for f in "$register" "$other"; do cat "$f" "$f" >"$f.twice" && mv "$f.twice" "$f"; done
done
cp "$register" "$shared"
ln "$shared" "$E2E_WORK/other name.tmd"
inode=$(stat -c %i "$shared")

e2e_start_x
e2e_start_program "$program" "$shared"
writer=$E2E_PROGRAM
e2e_activate "$(e2e_wait_window "$STARTUP")"
e2e_key Return
main=$(e2e_wait_window "${MAIN}${shared}$" 60)

step "Another program rewrites the file; the save puts the register back in place and is killed"
cat "$other" >"$shared"
e2e_activate "$main"
e2e_key ctrl+s
id=$(e2e_wait_window '^Save File\?$')
e2e_activate "$id"
e2e_key Return
for _ in $(seq 6000); do
    [ -e "$mark" ] && break
    sleep 0.005
done
kill -9 "$writer"
wait "$writer" 2>/dev/null || true
[ -e "$mark" ] || e2e_fail "no mark beside the file when the save was killed"
copy="$E2E_WORK/$(sed -n 6p "$mark")"
[[ "$(basename "$copy")" == .shared.tmd.tdsave-* ]] || e2e_fail "the mark names no copy: $(cat "$mark")"
cmp -s "$register" "$copy" || e2e_fail "the copy that the mark names is not the complete register"
if cmp -s "$register" "$shared"; then echo "   killed while the file was synced"; else echo "   the file is torn"; fi

step "Open says the file may be damaged and offers the complete copy; Yes opens it"
e2e_start_program "$program" "$shared"
e2e_activate "$(e2e_wait_window "$STARTUP")"
e2e_key Return
id=$(e2e_wait_window '^Interrupted Save$' 60)
e2e_shot interrupted-save "$id"
e2e_activate "$id"
e2e_key Return
main=$(e2e_wait_window "${MAIN}${shared}$" 60)
[ -f "$copy" ] && [ -e "$mark" ] || e2e_fail "the copy or the mark went before the file was saved"

step "Saving makes the file whole; the copy goes only after that"
e2e_activate "$main"
e2e_key ctrl+s
for _ in $(seq 600); do
    if [ ! -e "$copy" ]; then
        cmp -s "$register" "$shared" || e2e_fail "the copy went while the file was not whole"
        compgen -G "$E2E_WORK/.shared.tmd.[it]*" >/dev/null || break
    fi
    sleep 0.1
done
compgen -G "$E2E_WORK/.shared.tmd.[it]*" && e2e_fail "a mark or a copy stayed after the save"
cmp "$register" "$E2E_WORK/other name.tmd" || e2e_fail "the other name does not show the saved register"
[ "$(stat -c %i:%h "$shared")" = "$inode:2" ] || e2e_fail "the file lost its inode or a link"

step "Exit with nothing to save ends at once"
e2e_activate "$main"
e2e_key alt+f x
e2e_wait_program_end
echo "PASS"
