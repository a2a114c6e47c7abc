#!/usr/bin/env bash
# Setup's print path against a real print queue.
#
#   cups_print_test.sh PRINT_QUEUE_TEST_EXE WORK_DIR [PICTURE_DIR]
#
# Runs a private CUPS scheduler (its own configuration, spool and socket
# under WORK_DIR; the system's CUPS is neither used nor touched) with one
# queue, lets the Windows test program print the One Touch, Speed Dial and
# Group lists to it under Wine, and reads the spooled PostScript back as text
# with Ghostscript. Then the queue rejects jobs (the program must report it
# and print nothing more), and then it is stopped (the jobs wait in it).
# With PICTURE_DIR, page 1 of each printed list is also saved there as PNG.
set -euo pipefail

exe=$1
mkdir -p "$2"
work=$(cd "$2" && pwd)
pictures=${3:-}
queue=ODCQ

for tool in cupsd lpadmin lpstat cupsreject cupsaccept cupsdisable gs; do
  command -v "$tool" >/dev/null || { echo "missing $tool (scripts/ensure_packages.sh)"; exit 1; }
done
if [ "$(id -u)" -ne 0 ]; then
  # cupsd switches to its own user only when started by root.
  echo "needs root to run the scheduler as its own user (lp); skipped"
  exit 77
fi

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# --- the scheduler --------------------------------------------------------
rm -rf "$work/cups"
mkdir -p "$work/cups"/{run,spool,cache,state,log,tmp}
cups=$(cd "$work/cups" && pwd)
cat >"$cups/cupsd.conf" <<EOF
Listen $cups/run/cups.sock
LogLevel warn
PreserveJobFiles Yes
PreserveJobHistory Yes
DirtyCleanInterval 0
Browsing No
WebInterface No
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  JobPrivateAccess all
  JobPrivateValues none
  SubscriptionPrivateAccess all
  SubscriptionPrivateValues none
  <Limit All>
    Order deny,allow
    Allow all
  </Limit>
</Policy>
EOF
cat >"$cups/cups-files.conf" <<EOF
ServerRoot $cups
RequestRoot $cups/spool
CacheDir $cups/cache
StateDir $cups/state
TempDir $cups/tmp
AccessLog $cups/log/access_log
ErrorLog $cups/log/error_log
PageLog $cups/log/page_log
FileDevice Yes
User lp
Group lp
EOF
chown lp:lp "$cups"/{spool,cache,state,log,tmp}
chmod 755 "$work" "$cups"

cupsd -f -c "$cups/cupsd.conf" -s "$cups/cups-files.conf" >"$cups/log/cupsd.out" 2>&1 </dev/null &
cupsd_pid=$!
export CUPS_SERVER=$cups/run/cups.sock

stop_scheduler() {
  kill "$cupsd_pid" 2>/dev/null || true
  wait "$cupsd_pid" 2>/dev/null || true
}
trap stop_scheduler EXIT

for _ in $(seq 50); do lpstat -r >/dev/null 2>&1 && break; sleep 0.2; done
lpstat -r >/dev/null || { cat "$cups/log/cupsd.out"; echo "the scheduler did not start"; exit 1; }
lpadmin -p "$queue" -E -v file:///dev/null
lpadmin -d "$queue"

# Wine: a prefix of its own, started while the scheduler runs, so that it
# lists the queue as its default printer; the null graphics driver, and its
# wineserver and services started with their output going nowhere.
export WINEPREFIX=$work/wineprefix
source "$(dirname "$0")/../../scripts/wine_env.sh"
trap 'wineserver -k >/dev/null 2>&1 || true; stop_scheduler' EXIT

run() {
  local status=0
  ODC_PRINT_QUEUE=$queue ODC_PRINT_EXPECT=$work/expect.txt \
    /usr/lib/wine/wine64 "$exe" --gtest_brief=1 --gtest_filter="$1" >"$work/run.out" 2>&1 \
    </dev/null || status=$?
  grep -v -e 'nodrv_CreateWindow' -e 'initialize_systray' "$work/run.out" || true
  return "$status"
}
jobs_of() { lpstat -W "$1" -o "$queue" 2>/dev/null | wc -l; }
wait_done() {
  for _ in $(seq 100); do [ "$(jobs_of not-completed)" -eq 0 ] && return 0; sleep 0.2; done
  return 1
}

# --- three lists, printed ---------------------------------------------------
run 'PrintQueue.PrintsTheThreeLists' || fail "printing the three lists"
wait_done || fail "jobs still waiting: $(lpstat -W not-completed -o)"
[ "$(jobs_of completed)" -eq 3 ] || fail "expected 3 jobs, queue has: $(lpstat -W all -o)"

# (written by a Windows program: lines end in CR LF)
read -r _ pages_one_touch pages_speed_dial pages_group < <(tr -d '\r' <"$work/expect.txt")
third_page=$(tr -d '\r' <"$work/expect.txt" | sed -n 2p)
declare -A wanted=(
  [1]="One Touch|Total $pages_one_touch page(s), page 1|Head Office|0312345678|PROGRAM DIAL|sales@example.com|14:05|33.6K|Advanced"
  [2]="Speed Dial|$third_page|Total $pages_speed_dial page(s), page $pages_speed_dial|Branch North|0451112222|Dial 120|0300000120|Dial 240|0300000240"
  [3]="Group|Total $pages_group page(s), page 1|All Offices|Mail Team|One Touch#1|Head Office|Speed Dial#2|Branch South|0663334444"
)
names=([1]=15-printed-one-touch [2]=16-printed-speed-dial [3]=17-printed-group)
for n in 1 2 3; do
  control=$(printf '%s/spool/c%05d' "$cups" "$n")
  data=$(printf '%s/spool/d%05d-001' "$cups" "$n")
  [ -f "$data" ] || { fail "job $n left no data file"; continue; }
  # The scheduler writes a job's control file when it next saves its state.
  for _ in $(seq 50); do [ -f "$control" ] && break; sleep 0.2; done
  grep -aq 'ODC documents' "$control" || fail "job $n is not named \"ODC documents\""
  gs -q -dNOPAUSE -dBATCH -sDEVICE=txtwrite -sOutputFile="$work/job$n.txt" "$data"
  IFS='|' read -r -a texts <<<"${wanted[$n]}"
  for text in "${texts[@]}" "Name :" "M40 Front Office" "Tel :" "0312340000" "No."; do
    grep -qF -- "$text" "$work/job$n.txt" || fail "job $n does not show \"$text\""
  done
  if [ -n "$pictures" ]; then
    mkdir -p "$pictures"
    gs -q -dNOPAUSE -dBATCH -sDEVICE=png16m -r100 -dFirstPage=1 -dLastPage=1 \
      -sOutputFile="$pictures/${names[$n]}.png" "$data"
  fi
done

# --- a queue that rejects jobs ---------------------------------------------
cupsreject "$queue"
run 'PrintQueue.ARefusingQueueIsReportedAndStopsTheCommand' || fail "rejecting queue"
[ "$(jobs_of all)" -eq 3 ] || fail "a rejecting queue got jobs: $(lpstat -W all -o)"
cupsaccept "$queue"

# --- a stopped queue: it takes the jobs and holds them ----------------------
cupsdisable "$queue"
run 'PrintQueue.AStoppedQueueTakesTheJobs' || fail "stopped queue"
[ "$(jobs_of not-completed)" -eq 3 ] || fail "a stopped queue holds: $(lpstat -W not-completed -o)"

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed; scheduler log:"
  tail -n 20 "$cups/log/error_log" 2>/dev/null || true
  exit 1
fi
echo "printed, read back and checked: One Touch ($pages_one_touch page(s)), Speed Dial ($pages_speed_dial), Group ($pages_group)"
