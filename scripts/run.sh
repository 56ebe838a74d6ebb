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
# Under sudo the program directory belongs to the user who asked, in that
# user's home, and the program runs as that user.
user="${SUDO_USER:-$(id -un)}"
home="$(getent passwd "$user" | cut -d: -f6)"
dir="${QINGHE_DIR:-${home:-$HOME}/qinghe}"
install_dir() {
  cmake --install "$build" --prefix "$1" >/dev/null
  if [ -n "${SUDO_USER:-}" ]; then chown -R "$SUDO_USER": "$1"; fi
}
install_dir "$dir"
if [ "$demo" = 1 ]; then
  dir="$dir-demo"
  mkdir -p "$dir/data"
  "$build/src/qinghe-demo" "$dir/data/zt000.mdb"
  install_dir "$dir"
fi
echo "程序目录: $dir"
# sudo usually drops DISPLAY: use the local desktop's when there is one
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -n "${SUDO_USER:-}" ] && [ -S /tmp/.X11-unix/X0 ]; then
  export DISPLAY=:0
fi
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  echo "no display: start $dir/qinghe from a desktop session" >&2
  exit 0
fi
if [ -n "${SUDO_USER:-}" ]; then
  runtime="/run/user/$(id -u "$SUDO_USER")"
  [ -d "$runtime" ] && XDG_RUNTIME_DIR="$runtime"
  exec runuser -u "$SUDO_USER" -- env DISPLAY="${DISPLAY:-}" WAYLAND_DISPLAY="${WAYLAND_DISPLAY:-}" \
    XAUTHORITY="${XAUTHORITY:-$home/.Xauthority}" XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-}" "$dir/qinghe"
fi
exec "$dir/qinghe"
