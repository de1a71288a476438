#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test. Fails when a test fails or none ran.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
cd build
ctest --output-on-failure -j"$(nproc)" --no-tests=error "$@"
