#!/usr/bin/env bash
# Installs what is missing, builds, and starts Kestrava from its program folder.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
if [ ! -x build/bin/kestrava ]; then
  echo "The Kestrava window is not built yet; the encoder programs are in build/bin."
  exit 0
fi
exec build/bin/kestrava
