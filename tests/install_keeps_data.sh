#!/usr/bin/env bash
# An install creates the database and config.ini when absent and never
# overwrites them.
set -euo pipefail
build="$1"
dir="$(mktemp -d)"
trap 'rm -rf "$dir"' EXIT
cmake --install "$build" --prefix "$dir" >/dev/null
test -x "$dir/qinghe"
test -f "$dir/config.ini"
[ "$(sqlite3 "$dir/data/zt000.mdb" "select opername from operator")" = "admin" ]
sqlite3 "$dir/data/zt000.mdb" "insert into depart values('01','一车间')"
echo "[Backup]" >> "$dir/config.ini"
test -f "$dir/rep/gzbar.frf"
echo "# edited" >> "$dir/rep/gzbar.frf"
cmake --install "$build" --prefix "$dir" >/dev/null
[ "$(sqlite3 "$dir/data/zt000.mdb" "select bmname from depart")" = "一车间" ]
grep -q "^\[Backup\]" "$dir/config.ini"
grep -q "^# edited" "$dir/rep/gzbar.frf"
# passwords are never kept in clear
sqlite3 "$dir/data/zt000.mdb" "select pwd from operator" | grep -q '^\$argon2'
echo "install keeps data: ok"
