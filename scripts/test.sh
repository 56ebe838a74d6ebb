#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test headless.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
bash "$here/scripts/setup.sh"
bash "$here/scripts/build.sh"
cd "${BUILD_DIR:-$here/build}"
export QT_QPA_PLATFORM=offscreen
ctest --output-on-failure -j2
