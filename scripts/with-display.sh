#!/usr/bin/env bash
# Runs a command on a display of its own: a fresh Xvfb that picks a free display number itself,
# so that windowed test programs can run side by side without sharing windows, keyboard focus or
# a window manager. Usage: with-display.sh [--window-manager] <program> [arguments...]
# With --window-manager a window manager (openbox) runs on the display too, for programs driven
# from outside as a user drives them: only then do windows get the keyboard when raised.
set -euo pipefail

manager=
if [ "${1:-}" = --window-manager ]; then
  manager=yes
  shift
fi

number_file=$(mktemp)
# -noreset: a server left by its last client resets and drops a client still connecting, as
# when a program starts another and ends at once (the hand-over to the updater).
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$number_file" >/dev/null 2>&1 &
server=$!
manager_pid=
stop() {
  if [ -n "$manager_pid" ]; then
    kill "$manager_pid" 2>/dev/null || true
    wait "$manager_pid" 2>/dev/null || true
  fi
  kill "$server" 2>/dev/null || true
  wait "$server" 2>/dev/null || true
  rm -f "$number_file"
}
trap stop EXIT

# The server writes its display number once it accepts connections.
for _ in $(seq 100); do
  [ -s "$number_file" ] && break
  kill -0 "$server" 2>/dev/null || { echo "with-display.sh: Xvfb did not start" >&2; exit 1; }
  sleep 0.1
done
[ -s "$number_file" ] || { echo "with-display.sh: Xvfb gave no display" >&2; exit 1; }
export DISPLAY=":$(tr -d '[:space:]' <"$number_file")"
unset XAUTHORITY

if [ -n "$manager" ]; then
  openbox --sm-disable >/dev/null 2>&1 &
  manager_pid=$!
  # It has taken the display over once it names itself on the root window.
  for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    kill -0 "$manager_pid" 2>/dev/null || { echo "with-display.sh: openbox did not start" >&2; exit 1; }
    sleep 0.1
  done
fi

status=0
"$@" || status=$?
exit "$status"
