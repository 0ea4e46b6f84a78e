#!/usr/bin/env bash
# End-to-end cases of the windows under a real window manager: the program
# runs on its own X display with openbox, as users have it, and is driven
# with xdotool. Where the user's keys landed is read from the preview's
# scratch file, which holds the document's text a second after the last
# change of an untitled page.
#
#   e2e_windows.sh SCENARIO VEXA DATA_DIR
#
# Scenarios: fragment_keys, scratch_box_keys.
set -euo pipefail

scenario=$1
vexa=$2
data=$3

work=$(mktemp -d "${TMPDIR:-/tmp}/vexa-e2e-wm.XXXXXX")
prog=$work/program
shared=$work/shared
log=$work/vexa.log
pid=
wm=

cleanup() {
  local rc=$?
  for p in $pid $wm; do
    if kill -0 "$p" 2>/dev/null; then
      kill "$p" 2>/dev/null || true
      wait "$p" 2>/dev/null || true
    fi
  done
  if [ "$rc" -ne 0 ] && [ -n "${VEXA_E2E_KEEP:-}" ]; then
    echo "kept $work" >&2
  else
    rm -rf "$work"
  fi
}
trap cleanup EXIT

fail() {
  echo "FAIL [$scenario]: $*" >&2
  [ -s "$log" ] && tail -n 40 "$log" >&2
  if [ -n "${VEXA_E2E_SHOT:-}" ]; then import -window root "$VEXA_E2E_SHOT" 2>/dev/null || true; fi
  exit 1
}

step() { echo "[$scenario] $*"; }

# openbox on this display; the cases begin once it manages the screen.
start_wm() {
  openbox --sm-disable >"$work/openbox.log" 2>&1 &
  wm=$!
  local deadline=$((SECONDS + 30))
  until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; do
    [ "$SECONDS" -lt "$deadline" ] || fail "openbox did not start"
    sleep 0.2
  done
}

# A returning user's settings: no projects dialog, the manager at the right.
start_vexa() {
  mkdir -p "$prog" "$work/home" "$work/runtime"
  mkdir -p "$shared" 2>/dev/null || true
  chmod 700 "$work/runtime"
  cp -R "$data"/. "$prog"/
  printf '%s\r\n' '[Vexa options]' 'Automatic Preview=1' 'Word Wrap=0' 'Working Offline=1' \
    'Show Project Start=0' 'Show Manager Start=1' 'Show Preview Start=0' \
    '[Vexa Manager options]' 'Tab=1' 'Qlist1=' 'Qlist2=' '[Vexa Interface]' \
    'Height=304' 'Width=792' 'Left=212' 'Top=0' 'Height Pr=390' 'Width Pr=803' 'Left Pr=211' \
    'Top Pr=337' 'Left Manager=1040' 'Top Manager=40' >"$prog/vexapro.ini"
  env HOME="$work/home" XDG_RUNTIME_DIR="$work/runtime" XDG_CONFIG_HOME="$work/home/.config" \
    XDG_CACHE_HOME="$work/home/.cache" XDG_DATA_HOME="$work/home/.local/share" \
    QT_QPA_PLATFORM=xcb VEXA_PROGRAM_DIR="$prog/" VEXA_SHARED_DIR="$shared/" \
    VEXA_SPLASH_MS=500 QTWEBENGINE_DISABLE_SANDBOX=1 \
    QTWEBENGINE_CHROMIUM_FLAGS="--disable-gpu --no-sandbox" \
    "$vexa" >>"$log" 2>&1 &
  pid=$!
}

wait_window() {
  local pattern=$1 limit=${2:-90} id=""
  local deadline=$((SECONDS + limit))
  while [ "$SECONDS" -lt "$deadline" ]; do
    id=$(xdotool search --onlyvisible --name "$pattern" 2>/dev/null | head -n 1 || true)
    if [ -n "$id" ]; then
      echo "$id"
      return 0
    fi
    kill -0 "$pid" 2>/dev/null || fail "the program ended while waiting for '$pattern'"
    sleep 0.2
  done
  fail "no window '$pattern' within ${limit}s"
}

active_is() { [ "$(xdotool getactivewindow 2>/dev/null || true)" = "$1" ]; }

activate() {
  xdotool windowactivate --sync "$1" 2>/dev/null || xdotool windowactivate "$1"
  sleep 0.4
  active_is "$1" || fail "window $1 could not be made active"
}

click() {  # window x y [click options], in the window's own coordinates
  local window=$1 x=$2 y=$3
  shift 3
  xdotool mousemove --sync --window "$window" "$x" "$y" click "$@" 1
  sleep 0.4
}

# The untitled page's text as the preview last wrote it, once it holds the
# expected end.
expect_scratch_end() {
  local expected=$1 deadline=$((SECONDS + 20)) text=""
  while [ "$SECONDS" -lt "$deadline" ]; do
    [ -f "$shared/temp.vwe" ] && text=$(tr -d '\r' <"$shared/temp.vwe")
    [[ "$text" == *"$expected" ]] && return 0
    sleep 0.3
  done
  fail "the document does not end in '$expected': $(tail -c 200 <<<"$text")"
}

# The manager's quick-code lists and its "<br>" button, where the fixed
# layout puts them in the manager's client area: the page control's tabs
# stand on its left edge, its pages begin to their right.
LIST1_ENTRY1="110 40"
PAGE_TAB3="12 250"
BR_BUTTON="73 85"

scenario_fragment_keys() {
  start_wm
  start_vexa
  local main manager
  main=$(wait_window '^Vexa Web Editor 3\.0 Pro')
  manager=$(wait_window '^Vexa Manager')
  step "type at the end of the page"
  activate "$main"
  click "$main" 400 200
  xdotool key ctrl+End
  xdotool type --delay 30 'start '

  step "a quick-code entry, then the user's next keys"
  activate "$manager"
  # shellcheck disable=SC2086
  click "$manager" $LIST1_ENTRY1 --repeat 2 --delay 80
  active_is "$main" || fail "the main window is not active after the quick-code entry"
  xdotool type --delay 30 'typed'
  expect_scratch_end $'start <p></p>typed'

  step "the <br> button, then the user's keys and Enter"
  activate "$manager"
  # shellcheck disable=SC2086
  click "$manager" $PAGE_TAB3
  # shellcheck disable=SC2086
  click "$manager" $BR_BUTTON
  active_is "$main" || fail "the main window is not active after the <br> button"
  xdotool type --delay 30 'more'
  xdotool key Return
  xdotool type --delay 30 'end'
  expect_scratch_end $'start <p></p>typed<br>more\nend'
}

# The shared folder cannot be made (a file stands in its way): start-up says
# so once; then the untitled page's scratch file cannot be written, and the
# box that reports it must not take the keys the user goes on typing.
scenario_scratch_box_keys() {
  start_wm
  echo "a file" >"$work/in the way"
  shared="$work/in the way/shared"
  start_vexa
  local main box
  main=$(wait_window '^Vexa Web Editor 3\.0 Pro')
  box=$(wait_window '^Vexa Web Editor Pro$' 60)
  activate "$box"
  xdotool key Return
  sleep 0.5
  step "type, pause until the box comes, type on"
  activate "$main"
  click "$main" 400 200
  xdotool key ctrl+a
  xdotool type --delay 30 'one'
  box=$(wait_window '^Vexa Web Editor Pro$' 20)
  xdotool type --delay 30 ' two three'
  active_is "$main" || fail "the error box took the keyboard"
  step "save the page to see what it holds"
  local page=$work/page.htm
  xdotool key F2
  local dialog
  dialog=$(wait_window '^Save As' 30)
  activate "$dialog"
  xdotool type --delay 20 "$page"
  xdotool key Return
  local deadline=$((SECONDS + 20))
  until [ -s "$page" ]; do
    [ "$SECONDS" -lt "$deadline" ] || fail "the page was not saved"
    sleep 0.3
  done
  [ "$(tr -d '\r' <"$page")" = "one two three" ] || fail "the page holds '$(cat "$page")'"
}

case "$scenario" in
  fragment_keys | scratch_box_keys) "scenario_$scenario" ;;
  *) fail "unknown scenario" ;;
esac
echo "[$scenario] passed"
