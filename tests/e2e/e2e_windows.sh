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
# The helpers (folders, starting the program under openbox, waiting for
# windows and the focus) are those of e2e.sh.
set -Eeuo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# Everything of e2e.sh but its choice of scenario.
# shellcheck source=e2e.sh
E2E_DIR=$here
source <(sed '/^declare -F "scenario_/,$d' "$here/e2e.sh")

active_is() { [ "$(xdotool getactivewindow 2>/dev/null || true)" = "$1" ]; }

# The active window changes when the window manager has handled the event
# that changed it, a moment after the click or key.
expect_active() {  # window what
  until_true 10 "the main window is not active after $2" active_is "$1"
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
  make_folders
  write_quiet_ini
  start_vexa "$vexa"
  local main manager
  main=$(wait_started)
  manager=$(wait_window "$MANAGER")
  step "type at the end of the page"
  focus "$main"
  click "$main" 400 200
  xdotool key ctrl+End
  xdotool type --delay 30 'start '

  step "a quick-code entry, then the user's next keys"
  focus "$manager"
  # shellcheck disable=SC2086
  click "$manager" $LIST1_ENTRY1 --repeat 2 --delay 80
  expect_active "$main" "the quick-code entry"
  xdotool type --delay 30 'typed'
  expect_scratch_end $'start <p></p>typed'

  step "the <br> button, then the user's keys and Enter"
  focus "$manager"
  # shellcheck disable=SC2086
  click "$manager" $PAGE_TAB3
  # shellcheck disable=SC2086
  click "$manager" $BR_BUTTON
  expect_active "$main" "the <br> button"
  xdotool type --delay 30 'more'
  xdotool key Return
  xdotool type --delay 30 'end'
  expect_scratch_end $'start <p></p>typed<br>more\nend'
}

# The shared folder cannot be made (a file stands in its way): start-up says
# so once; then the untitled page's scratch file cannot be written, and the
# box that reports it must not take the keys the user goes on typing.
scenario_scratch_box_keys() {
  make_folders
  write_quiet_ini
  echo "a file" >"$work/in the way"
  shared="$work/in the way/shared"
  start_vexa "$vexa"
  local main box
  main=$(wait_window "$MAIN")
  box=$(wait_window "$ERROR_BOX" 60)
  focus "$box"
  xdotool key Return
  wait_no_window "$ERROR_BOX" 30
  step "type, pause until the box comes, type on"
  focus "$main"
  click "$main" 400 200
  xdotool key ctrl+a
  xdotool type --delay 30 'one'
  box=$(wait_window "$ERROR_BOX" 20)
  xdotool type --delay 30 ' two three'
  active_is "$main" || fail "the error box took the keyboard"
  step "save the page to see what it holds"
  local page=$work/page.htm
  xdotool key F2
  local dialog
  dialog=$(wait_window "$(title 'Save As')" 30)
  focus "$dialog"
  xdotool type --delay 20 "$page"
  xdotool key Return
  local deadline=$((SECONDS + 20))
  until [ -s "$page" ]; do
    [ "$SECONDS" -lt "$deadline" ] || fail "the page was not saved"
    sleep 0.3
  done
  [ "$(tr -d '\r' <"$page")" = "one two three" ] || fail "the page holds '$(cat "$page")'"
}

declare -F "scenario_$scenario" >/dev/null || fail "unknown scenario"
"scenario_$scenario"
echo "[$scenario] passed"
