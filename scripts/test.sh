#!/bin/bash
# Installs what the tests need, builds, and runs every test through CTest.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
cd build
ctest --output-on-failure --timeout 600
