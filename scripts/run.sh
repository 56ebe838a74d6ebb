#!/usr/bin/env bash
# Installs what is missing, builds, installs the program directory and starts
# the program. The program directory is QINGHE_DIR (default ~/qinghe); an
# existing database and config.ini there are never overwritten.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
bash "$here/scripts/setup.sh"
bash "$here/scripts/build.sh"
dir="${QINGHE_DIR:-$HOME/qinghe}"
cmake --install "${BUILD_DIR:-$here/build}" --prefix "$dir" >/dev/null
echo "程序目录: $dir"
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  echo "no display: start $dir/qinghe from a desktop session" >&2
  exit 0
fi
exec "$dir/qinghe"
