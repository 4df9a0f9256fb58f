#!/usr/bin/env bash
# The maturities window on a register of deposits dated from today: one
# desktop reminder posted as the register opens from the command line, its
# action opening the window, and the maturity ladder of the coming months.
#   maturities.sh <path to termdeposit>
# Runs in a D-Bus session of its own, with a notification service of its own.
if [ -z "${TD_E2E_SESSION:-}" ]; then
    TD_E2E_SESSION=1 exec dbus-run-session -- bash "$0" "$@"
fi
program=$(realpath "$1")
source "$(dirname "$0")/harness.sh"

MATURITIES='^Quendarith Information Technology Maturities$'

step "a register of deposits dated from today, one of them due in five days"
mkdir -p "$E2E_WORK/home"
register="$E2E_WORK/home/deposits.tmd"
# Each: account, saving, rate, years, months, start (days and months before
# today), balance, active. The term date and future value are worked out as
# the details dialog does: monthly compounding, rounded to the cent.
/usr/bin/python3 - "$register" >"$E2E_WORK/due.txt" <<'PY'
import calendar, datetime, decimal, sys

def add_months(d, n):
    y, m = divmod(d.month - 1 + n, 12)
    y += d.year
    return datetime.date(y, m + 1, min(d.day, calendar.monthrange(y, m + 1)[1]))

def money(v):
    c = decimal.Decimal("%.14e" % v).quantize(decimal.Decimal("0.01"), decimal.ROUND_HALF_UP)
    return "${:,.2f}".format(c)

today = datetime.date.today()
deposits = [
    ("TD-1001", 0, "4.5", 1, 0, (-5, 12), 20000, "Yes"),
    ("TD-1002", 0, "5.1", 2, 0, (0, 10), 15000, "Yes"),
    ("TD-1003", 200, "4.8", 1, 6, (0, 3), 8000, "Yes"),
    ("TD-1004", 0, "5.25", 1, 0, (0, 5), 12500, "Yes"),
    ("TD-1005", 0, "3.9", 0, 6, (0, 1), 5000, "Yes"),
    ("TD-1006", 0, "5", 2, 0, (-20, 24), 30000, "Yes"),
    ("OLD-0900", 0, "4", 1, 0, (0, 14), 10000, "No"),
]
records = b""
for account, saving, rate, years, months, (days, back), balance, active in deposits:
    start = add_months(today, -back) - datetime.timedelta(days=days)
    term = add_months(add_months(start, 12 * years), months)
    r, n = float(rate) / 1200, 12 * years + months
    g = (1 + r) ** n
    fv = balance * g + saving * (g - 1) / r
    fields = [account, money(saving) if saving else "0", rate, str(years), str(months),
              start.strftime("%d/%m/%Y"), term.strftime("%d/%m/%Y"), money(balance), money(fv), active]
    widths = [20, 15, 7, 2, 2, 10, 10, 15, 15, 3]
    records += "".join(f.ljust(w) for f, w in zip(fields, widths)).encode("cp1252") + b"\r"
    if account == "TD-1001":
        print(term.strftime("%d/%m/%Y"), (today + datetime.timedelta(days=14)).strftime("%d/%m/%Y"))
open(sys.argv[1], "wb").write(records)
PY
read -r due last <"$E2E_WORK/due.txt"

step "a notification service of the test's own on the session bus"
"$(dirname "$0")/notifications.py" "$E2E_WORK/notified" >"$E2E_WORK/service.log" 2>&1 &
E2E_PIDS+=($!)
for _ in $(seq 100); do grep -q '^ready$' "$E2E_WORK/service.log" && break; sleep 0.1; done
grep -q '^ready$' "$E2E_WORK/service.log" || e2e_fail "the notification service did not start"

e2e_start_x
e2e_start_program "$program" "$register"
id=$(e2e_wait_window "$STARTUP")
e2e_activate "$id"
e2e_key Return
main=$(e2e_wait_window "${MAIN}${register}$")

step "one reminder, no box: the deposit due in five days, with its action"
for _ in $(seq 100); do [ -s "$E2E_WORK/notified" ] && break; sleep 0.1; done
expected=$(printf '1\tTerm deposits due\t1 active deposit matures by %s or has matured: TD-1001, term date %s.\tdefault|Show Maturities|open|Show Maturities' "$last" "$due")
[ "$(cat "$E2E_WORK/notified" 2>/dev/null)" = "$expected" ] ||
    e2e_fail "the reminder posted was: $(cat "$E2E_WORK/notified" 2>/dev/null)"
[ "$(xdotool search --onlyvisible --name "$MATURITIES" 2>/dev/null)" = "" ] ||
    e2e_fail "the maturities window opened before the reminder's action"

step "the reminder's action opens the maturities window; its second page is the ladder"
dbus-send --session --type=method_call --dest=org.freedesktop.Notifications /org/freedesktop/Notifications \
    org.e2e.Notifications.Choose uint32:1 string:open || e2e_fail "the action could not be chosen"
maturities=$(e2e_wait_window "$MATURITIES")
e2e_shot maturities "$maturities"
e2e_activate "$maturities"
e2e_key alt+l
e2e_shot maturity-ladder "$maturities"
e2e_key Escape
e2e_wait_gone "$MATURITIES"
e2e_expect_program_running
