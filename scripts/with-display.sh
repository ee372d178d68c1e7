#!/usr/bin/env bash
# Runs a command on a display of its own: a fresh Xvfb that picks a free display number itself,
# so that windowed test programs can run side by side without sharing windows, keyboard focus or
# a window manager. Usage: with-display.sh <program> [arguments...]
# A test program that needs a window manager starts one itself (tests/support CWindowManager).
set -euo pipefail

number_file=$(mktemp)
# -noreset: a server left by its last client resets and drops a client still connecting, as
# when a program starts another and ends at once (the hand-over to the updater).
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$number_file" >/dev/null 2>&1 &
server=$!
stop() {
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

status=0
"$@" || status=$?
exit "$status"
