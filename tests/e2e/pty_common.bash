# Shared part of the pseudo-terminal end-to-end scripts: sourced by them, not a test
# of its own. Usage of a script: bash script.sh ML472_BINARY SIM_BINARY
#
# Starts ml472-sim on a pseudo-terminal with every line of its log stamped with the
# time it came (ms), runs `ml472 monitor` on the device, and always stops the
# simulator however the script ends.

set -u

ML472=${1:?usage: $0 ML472_BINARY SIM_BINARY}
SIM=${2:?usage: $0 ML472_BINARY SIM_BINARY}
[ -x "$ML472" ] || { echo "FAIL: no ml472 program at $ML472" >&2; exit 1; }
[ -x "$SIM" ] || { echo "FAIL: no ml472-sim program at $SIM" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/ml472-e2e.XXXXXX")
sim_pid=
stamp_pid=

cleanup() {
  if [ -n "$sim_pid" ]; then
    kill "$sim_pid" 2>/dev/null
    wait "$sim_pid" 2>/dev/null
  fi
  if [ -n "$stamp_pid" ]; then
    kill "$stamp_pid" 2>/dev/null
    wait "$stamp_pid" 2>/dev/null
  fi
  rm -rf "$work"
}
trap cleanup EXIT
trap 'fail "interrupted"' INT TERM HUP

fail() {
  echo "FAIL: $*" >&2
  local f
  for f in mon.err mon.out sim.log; do
    if [ -s "$work/$f" ]; then
      echo "--- $f (last lines)" >&2
      tail -n 12 "$work/$f" >&2
    fi
  done
  exit 1
}

now_ms() {
  local t=${EPOCHREALTIME/[.,]/}
  echo $((t / 1000))
}

# start_sim OPTIONS...: starts the simulator and sets pty to its device path.
start_sim() {
  mkfifo "$work/sim.fifo" || fail "cannot make a fifo in $work"
  (
    while IFS= read -r line; do
      t=${EPOCHREALTIME/[.,]/}
      printf '%s %s\n' $((t / 1000)) "$line"
    done <"$work/sim.fifo" >"$work/sim.log"
  ) &
  stamp_pid=$!
  "$SIM" "$@" >"$work/sim.out" 2>"$work/sim.fifo" </dev/null &
  sim_pid=$!
  pty=
  local i
  for ((i = 0; i < 100; ++i)); do
    if [ "$(wc -l <"$work/sim.out")" -ge 1 ]; then
      pty=$(head -n 1 "$work/sim.out")
      break
    fi
    kill -0 "$sim_pid" 2>/dev/null || fail "ml472-sim ended at start-up"
    sleep 0.05
  done
  [ -n "$pty" ] || fail "ml472-sim printed no device path within 5 s"
  [ -c "$pty" ] || fail "ml472-sim's device $pty is not a character device"
  sim_started=$(now_ms)
}

# run_monitor SECONDS: runs the monitor on the simulator's device.
run_monitor() {
  mon_start=$(now_ms)
  timeout 30 "$ML472" monitor --port "$pty" --seconds "$1" >"$work/mon.out" 2>"$work/mon.err" </dev/null
  local rc=$?
  mon_end=$(now_ms)
  [ $rc -ne 124 ] || fail "ml472 monitor --seconds $1 did not stop within 30 s"
  [ $rc -eq 0 ] || fail "ml472 monitor exited with status $rc"
}

# stop_sim: stops the simulator and waits until its log is complete.
stop_sim() {
  kill "$sim_pid" 2>/dev/null
  wait "$sim_pid" 2>/dev/null
  sim_pid=
  wait "$stamp_pid" 2>/dev/null
  stamp_pid=
}

# The letters of the packets the simulator received, one per line.
received_letters() { awk '$2 == "rx" { print $3 }' "$work/sim.log"; }

# check_lines CLOCK_REGEX MIN_LINES: every monitor line has the monitor's format,
# with the clock column matching CLOCK_REGEX; at least MIN_LINES of them.
check_lines() {
  local clock_re=$1 min_lines=$2
  local words='(REC|MAXMIN|MAX|MIN|FULL|BAT|UNDER|OVER)'
  local re="^[0-9]{4}-[0-9]{2}-[0-9]{2}T[0-9]{2}:[0-9]{2}:[0-9]{2}\.[0-9]{3},[0-9]+\.[0-9],[0-9]+\.[0-9],(Lo|Med|Hi|Auto),(A|C),(FAST|SLOW),(${words}( ${words})*)?,${clock_re}\$"
  lines=$(wc -l <"$work/mon.out")
  [ "$lines" -ge "$min_lines" ] || fail "only $lines readings printed, expected at least $min_lines"
  local bad
  bad=$(grep -Ev -m 3 "$re" "$work/mon.out")
  [ -z "$bad" ] || fail "readings not in the format time,level,display,range,weighting,timeweighting,annunciators,clock: $bad"
}

# check_start_and_acknowledges: 'K' (the scan) then 'a' (the start-up) came first,
# and one 'X' per printed reading, give or take the frame in flight at the stop.
check_start_and_acknowledges() {
  local first_two
  first_two=$(received_letters | head -n 2 | tr -d '\n')
  [ "$first_two" = "Ka" ] || fail "the simulator's first packets were '$first_two', expected 'K' then 'a'"
  local acks
  acks=$(received_letters | grep -c '^X$')
  local diff=$((acks - lines))
  [ ${diff#-} -le 1 ] || fail "$acks acknowledges 'X' for $lines printed readings"
}
