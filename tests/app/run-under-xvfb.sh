#!/usr/bin/env bash
# Runs a test program on a private Xvfb display, which it starts and stops itself.
set -euo pipefail
display_file=$(mktemp)
Xvfb -displayfd 5 -screen 0 1024x768x24 -wr -nolisten tcp 5>"$display_file" >/dev/null 2>&1 &
xvfb_pid=$!
trap 'kill "$xvfb_pid" 2>/dev/null || true; wait "$xvfb_pid" 2>/dev/null || true; rm -f "$display_file"' EXIT
for _ in $(seq 1 100); do
  [ -s "$display_file" ] && break
  sleep 0.1
done
if [ ! -s "$display_file" ]; then
  echo "run-under-xvfb: Xvfb did not start" >&2
  exit 1
fi
DISPLAY=":$(head -n1 "$display_file")" "$@"
