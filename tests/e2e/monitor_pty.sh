#!/bin/bash
# `ml472 monitor` against a simulated ML472 on a pseudo-terminal, in real time: found
# by the start-up scan, readings printed and acknowledged one by one, then the meter
# falls silent, the link is declared lost and polled with 'A' once a second.
#
#   bash monitor_pty.sh ML472_BINARY SIM_BINARY

source "$(dirname "$0")/pty_common.bash"

start_sim --silent-after 5
# Half a second into the simulator's run, so that its silence (at 5 s) comes about
# 4.5 s into the monitor's: the loss is then declared near 7.5-8.5 s, leaving room
# for two or three polls before the monitor stops at 10 s.
sleep 0.5
run_monitor 10
stop_sim

grep -qxF "identified: model 472 on $pty" "$work/mon.err" ||
  fail "no 'identified: model 472 on $pty' on the monitor's standard error"
identified_at=$(grep -nxF "identified: model 472 on $pty" "$work/mon.err" | head -n 1 | cut -d: -f1)
lost_at=$(grep -nxF "link lost" "$work/mon.err" | head -n 1 | cut -d: -f1)
[ -n "$lost_at" ] || fail "no 'link lost' after the simulator fell silent"
[ "$lost_at" -gt "$identified_at" ] || fail "'link lost' came before the identification"
[ "$(grep -cxF "link lost" "$work/mon.err")" -eq 1 ] || fail "the link was reported lost more than once"

check_lines '[0-9]{2}:[0-9]{2}:[0-9]{2}' 20
check_start_and_acknowledges

# The meter's clock (stamped one second ahead, shown one second back) is the time the
# reading was taken: within two seconds of the time the monitor received it.
skewed=$(awk -F, '{
  split(substr($1, 12, 8), r, ":"); split($8, c, ":")
  d = (r[1] * 3600 + r[2] * 60 + r[3]) - (c[1] * 3600 + c[2] * 60 + c[3])
  if (d < 0) d = -d
  if (d > 43200) d = 86400 - d
  if (d > 2) { print; exit }
}' "$work/mon.out")
[ -z "$skewed" ] || fail "the meter clock column is off the reception time: $skewed"

# The polls: none while the meter talked (the scan had identified it), then about
# one a second once the link was lost.
silent_ms=$(awk '$2 == "silent" { print $1; exit }' "$work/sim.log")
[ -n "$silent_ms" ] || fail "the simulator never fell silent"
early=$(awk -v s="$silent_ms" '$2 == "rx" && $3 == "A" && $1 < s' "$work/sim.log" | wc -l)
[ "$early" -eq 0 ] || fail "$early polls 'A' while the identified meter was still talking"
mapfile -t polls < <(awk '$2 == "rx" && $3 == "A" { print $1 }' "$work/sim.log")
recent=0
for t in "${polls[@]}"; do
  [ "$t" -ge $((mon_end - 4000)) ] && recent=$((recent + 1))
done
[ "$recent" -ge 2 ] && [ "$recent" -le 4 ] ||
  fail "$recent polls 'A' in the last 4 s of the run (${#polls[@]} after the silence), expected 2 to 4"
for ((i = 1; i < ${#polls[@]}; ++i)); do
  gap=$((polls[i] - polls[i - 1]))
  [ "$gap" -ge 600 ] && [ "$gap" -le 1400 ] || fail "polls 'A' $gap ms apart, expected about 1000 ms"
done
# The first poll comes with the loss, on the third tick without a frame: between
# three and four seconds after the silence.
first_gap=$((polls[0] - silent_ms))
[ "$first_gap" -ge 2800 ] && [ "$first_gap" -le 4300 ] ||
  fail "the first poll came $first_gap ms after the silence, expected on the third silent tick"

echo "ok: $lines readings, $(received_letters | grep -c '^X$') acknowledges, ${#polls[@]} polls after the loss"
