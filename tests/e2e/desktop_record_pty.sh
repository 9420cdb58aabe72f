#!/bin/bash
# The desktop program against ml472-sim on a pseudo-terminal, on the offscreen
# platform: the start-up search finds the meter, a scripted Run records 20 points at
# 0.2 s into the Real-Time Graph window, the recording stops by itself at 20 points,
# and a screenshot of the main window is written. Closing answers No to the save
# question.
#
#   bash desktop_record_pty.sh ML472_BINARY SIM_BINARY

source "$(dirname "$0")/pty_common.bash"

start_sim
picture="$work/desktop.png"
QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$work" HOME="$work" \
  timeout 60 "$ML472" --port "$pty" --record 20:0.2 --quit-after 9 --screenshot "$picture" \
  >"$work/mon.out" 2>"$work/mon.err" </dev/null
status=$?
stop_sim
[ "$status" -eq 0 ] || fail "ml472 exited with $status"

grep -qxF "real-time points: 20" "$work/mon.out" ||
  fail "the recording did not stop at 20 points: $(cat "$work/mon.out")"
grep -qF "Enregistrer le graphe Temps-Réel?" "$work/mon.err" ||
  fail "closing did not ask to save the recording"
[ -s "$picture" ] || fail "no screenshot"
[ "$(head -c 8 "$picture" | od -An -tx1 | tr -d ' ')" = "89504e470d0a1a0a" ] || fail "the screenshot is not a PNG"

letters=$(received_letters | tr -d '\n')
case "$letters" in
  K*a*X*) ;;
  *) fail "the simulator did not see the identification, 'a' and acknowledges: ${letters:0:40}" ;;
esac
acks=$(received_letters | grep -c '^X$')
[ "$acks" -ge 40 ] || fail "only $acks frames acknowledged in the run"
# Settings of the normal close land in the user's settings file.
settings=$(find "$work" -name 'ML470.ini' | head -n 1)
[ -n "$settings" ] || fail "closing wrote no settings"
grep -q "LastConnectedModel=472" "$settings" || fail "the settings lack the model: $(cat "$settings")"

echo "ok: 20 real-time points recorded from the simulated meter, $acks frames acknowledged"
