#!/usr/bin/env bash
# Installs what is missing, builds, and starts Kestrava from its program folder. Where there is
# no display ($DISPLAY unset) the window is started on a private Xvfb display.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
if [ -n "${DISPLAY:-}" ]; then
  exec build/bin/kestrava
fi

display_file=$(mktemp)
Xvfb -displayfd 5 -screen 0 1280x800x24 -nolisten tcp 5>"$display_file" >/dev/null 2>&1 &
xvfb_pid=$!
trap 'kill "$xvfb_pid" 2>/dev/null || true; rm -f "$display_file"' EXIT
for _ in $(seq 1 100); do
  [ -s "$display_file" ] && break
  sleep 0.1
done
if [ ! -s "$display_file" ]; then
  echo "run: Xvfb did not start" >&2
  exit 1
fi
display=":$(head -n1 "$display_file")"
echo "run: no display here; Kestrava runs on the virtual display $display (close it with Ctrl+C)"
DISPLAY="$display" build/bin/kestrava
