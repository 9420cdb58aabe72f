#!/bin/bash
# `ml472 monitor` against a simulated 471 on a pseudo-terminal: identified as a 471 by
# the start-up scan, readings with an empty clock column (the 471 has no clock).
#
#   bash monitor_pty_471.sh ML472_BINARY SIM_BINARY

source "$(dirname "$0")/pty_common.bash"

start_sim --model 471
run_monitor 5
stop_sim

grep -qxF "identified: model 471 on $pty" "$work/mon.err" ||
  fail "no 'identified: model 471 on $pty' on the monitor's standard error"
! grep -qF "link lost" "$work/mon.err" || fail "the link was lost although the meter kept talking"

check_lines '' 20
check_start_and_acknowledges
polls=$(received_letters | grep -c '^A$')
[ "$polls" -eq 0 ] || fail "$polls polls 'A' to a meter the scan had identified"

echo "ok: $lines readings from a 471"
