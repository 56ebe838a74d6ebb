#!/usr/bin/env bash
# Takes the manual's screenshots with the program itself: installs the demo
# workshop into a scratch program directory, starts it on a virtual screen
# of 1280x800 and drives it with the mouse and the keyboard as a user would.
# Needs Xvfb, xdotool, imagemagick and poppler-utils.
#   bash docs/screenshots.sh [BUILD_DIR]
# The pictures go to docs/manual/help/.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-${BUILD_DIR:-$here/build}}"
out="$here/docs/manual/help"
mkdir -p "$out"
work="$(mktemp -d)"
xvfb=""
app=""
cleanup() {
  [ -n "$app" ] && kill "$app" 2>/dev/null || true
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

mkdir -p "$work/data"
"$build/src/qinghe-demo" "$work/data/zt000.mdb"
cmake --install "$build" --prefix "$work" >/dev/null

display=":$((100 + $$ % 400))"
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY="$display"
for _ in $(seq 50); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done

pause() { sleep "${1:-0.8}"; }
# The newest visible window whose title matches.
win() {
  local id
  id="$(timeout 10 xdotool search --sync --onlyvisible --name "$1" | tail -1)" || true
  [ -n "$id" ] || { echo "no window \"$1\"" >&2; import -window root "$out/failed.png"; exit 1; }
  echo "$id"
}
click() { xdotool mousemove "$1" "$2" click 1; pause "${3:-0.8}"; }
dblclick() { xdotool mousemove "$1" "$2" click --repeat 2 --delay 80 1; pause; }
key() { xdotool key --delay 80 "$@"; pause 0.4; }
typein() { xdotool type --delay 40 "$1"; pause 0.3; }
# Clicks a point given relative to a window's top left corner.
clickin() {
  local X Y WIDTH HEIGHT SCREEN WINDOW
  eval "$(xdotool getwindowgeometry --shell "$1")"
  click $((X + $2)) $((Y + $3))
}
shot() { import -window root "$out/$1.png"; }
shotwin() { [ -n "$2" ] && import -window "$2" "$out/$1.png"; }
# Opens menu number $1 (0 is 【日常处理】) and its item number $2 (from 1,
# separators not counted).
# Moving into the next menu with Right already selects its first item.
menu() {
  click 60 8 0.4
  local down="$2"
  for _ in $(seq "$1"); do key Right; done
  [ "$1" -gt 0 ] && down=$((down - 1))
  for _ in $(seq "$down"); do key Down; done
  key Return
  pause
}
# Closing a child: a maximised one by the close button in the menu bar's
# corner, a code table (always opened first at the top left) by its 退出.
closemax() { click 1269 9; }
closetable() { click 377 272; }

# ---------------------------------------------------------------- login
(cd "$work" && exec ./qinghe) &
app=$!
login="$(win "系统登陆")"
pause
shotwin login "$login"
clickin "$login" 160 190
main="$(win "【V2010】")"
xdotool windowsize "$main" 1280 800
xdotool windowmove "$main" 0 0
pause 1.5
shot main

# ---------------------------------------------------------------- reference data
click 391 50                     # 计件工种
shot jjgz
closetable
click 466 50                     # 计件工序
shot jjgx
closemax
click 541 50                     # 职工名册
shot worker
closemax
menu 2 6                         # 部门设置
shot depart
closetable

# ---------------------------------------------------------------- piece-work
click 41 50                      # 计件录入
sel="$(win "请选择过滤条件")"
shotwin jjdatasel "$sel"
clickin "$sel" 76 189            # 是否显示员工明细
clickin "$sel" 142 215 1.5       # 确定
shot jjdata
click 822 50                     # 增加
shotwin jjdatamdy "$(win "增加计件数据")"
key Escape
closemax

# ---------------------------------------------------------------- salary items and formulas
menu 2 4                         # 工资项目定义
shotwin gzxm "$(win "工资项目定义")"
key Escape
menu 2 5                         # 计算公式定义
shot gzgs
closemax

# ---------------------------------------------------------------- the salary sheet
click 115 50                     # 工资录入
click 767 50 1.5                 # 调出
click 363 144 0.4                # 基本工资 of the first row
for amount in 1800 1800 2000 1700 1600 1600 1600 1650 1650 2000 1600; do
  typein "$amount"
  key Down
done
click 890 50                     # 计算
key Return                       # 确认要计算…吗？ 是
pause 1.5

key Return                       # 计算完毕
shot gzdata
click 946 50 2                   # 工资条
preview="$(win "工资条")"
xdotool windowsize "$preview" 1000 760
xdotool windowmove "$preview" 140 20
pause 1.5
shotwin payslip-preview "$preview"
key Escape
click 1008 50 2                  # 工资表
sheet="$(win "工资发放表")"
xdotool windowsize "$sheet" 1000 760
xdotool windowmove "$sheet" 140 20
pause 1.5
shotwin paysheet-preview "$sheet"
key Escape
closemax
click 316 50 2                   # 汇总表
click 767 50 1.5                 # 查询
shot gzsum
closemax

# ---------------------------------------------------------------- carry-over, operators, backup
menu 0 3                         # 结转下月
shotwin jznext "$(win "结转")"
key Escape
menu 3 1                         # 操作员管理
shotwin operator "$(win "操作员")"
key Escape
menu 3 2                         # 设定权限
shotwin role "$(win "权限")"
key Escape
menu 4 2                         # 数据备份
shotwin backup "$(win "备份")"
key Escape
echo "screenshots in $out"
