#!/usr/bin/env bash
# Installs what is missing, builds, installs the program directory and starts
# the program. The program directory is QINGHE_DIR (default ~/qinghe); an
# existing database and config.ini there are never overwritten.
#   --demo   also install a demo workshop beside it (QINGHE_DIR-demo) and
#            start that one
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
demo=0
for arg in "$@"; do
  case "$arg" in
    --demo) demo=1 ;;
    *) echo "usage: $0 [--demo]" >&2; exit 2 ;;
  esac
done
bash "$here/scripts/setup.sh"
bash "$here/scripts/build.sh"
build="${BUILD_DIR:-$here/build}"
dir="${QINGHE_DIR:-$HOME/qinghe}"
cmake --install "$build" --prefix "$dir" >/dev/null
if [ "$demo" = 1 ]; then
  dir="$dir-demo"
  mkdir -p "$dir/data"
  "$build/src/qinghe-demo" "$dir/data/zt000.mdb"
  cmake --install "$build" --prefix "$dir" >/dev/null
fi
echo "程序目录: $dir"
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  echo "no display: start $dir/qinghe from a desktop session" >&2
  exit 0
fi
exec "$dir/qinghe"
