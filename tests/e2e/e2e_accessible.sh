#!/usr/bin/env bash
# End-to-end scenarios of what a screen reader gets from the editor over
# AT-SPI: the text of the page as its characters, the caret after a move and
# after typing, and the text a keystroke inserted. Runs under
# tests/support/accessibility-bus.sh on an X display; the helpers (folders,
# starting the program, waiting for windows, keys) are those of e2e.sh, and
# tests/e2e/accessible_probe.py reads the editor as a screen reader does.
#
#   e2e_accessible.sh SCENARIO VEXA DATA_DIR [BUILD_DIR]
#
# Scenarios: accessible_code_page, accessible_utf8.
set -Eeuo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# Everything of e2e.sh but its choice of scenario.
# shellcheck source=e2e.sh
E2E_DIR=$here
source <(sed '/^declare -F "scenario_/,$d' "$here/e2e.sh")

# The system's Python, where python3-pyatspi is installed (a Python of the
# user's own earlier on the path would not have it).
python=/usr/bin/python3
probe() { "$python" "$here/accessible_probe.py" "$pid" "$@"; }

# The editor's text and caret as a screen reader reads them, as JSON.
read_editor() { probe text 2>/dev/null; }

# A field of that JSON.
field() { "$python" -c 'import json,sys; print(json.dumps(json.load(sys.stdin)[sys.argv[1]]))' "$1"; }

editor_reads() {  # expected text (a JSON string)
  local state
  state=$(read_editor) || return 1
  [ "$(field text <<<"$state")" = "$1" ]
}

caret_is() {
  local state
  state=$(read_editor) || return 1
  [ "$(field caret <<<"$state")" = "$1" ]
}

# Opens the page given as bytes, then checks what a screen reader gets:
# the page's characters (a JSON string), the caret after moving three
# characters in, and after typing "x" there the event of the insert and the
# caret behind it.
read_page() {  # bytes-of-the-page characters-as-json characters-after-typing-as-json
  make_folders
  write_quiet_ini
  local page=$work/sites/page.htm
  mkdir -p "$work/sites"
  printf '%b' "$1" >"$page"
  start_vexa "$vexa" "$page"
  local main
  main=$(wait_started)
  step "the page as a screen reader reads it"
  until_true 60 'the editor read $(read_editor || echo nothing), not $2' editor_reads "$2"

  step "the caret after a move"
  focus "$main"
  xdotool key ctrl+Home
  press Right 3
  until_true 20 'the caret is at $(read_editor | field caret), not 3' caret_is 3

  step "the text a keystroke inserted"
  local events=$work/events
  probe events 30 3 >"$events" &
  local listener=$!
  until_true 30 "the probe did not start listening" grep -q '^ready$' "$events"
  xdotool type --delay 50 'x'
  heard() {
    grep -q '"type": "object:text-changed:insert", "offset": 3, "length": 1, "text": "x"' "$events" &&
      grep -q '"type": "object:text-caret-moved", "offset": 4' "$events"
  }
  until_true 30 'the events were: $(cat "$events")' heard
  kill "$listener" 2>/dev/null || true
  wait "$listener" 2>/dev/null || true
  until_true 20 'the editor read $(read_editor || echo nothing), not $3' editor_reads "$3"
  until_true 20 'the caret is at $(read_editor | field caret), not 4' caret_is 4

  step "leave without saving"
  exit_from_menu "$main"
  local prompt
  prompt=$(wait_window "$(title 'File Save')" 30)
  focus "$prompt"
  press Tab  # from "Yes" to "No"
  xdotool key space
  wait_exit 60
}

# A code page 1252 page: the euro sign, curly quotes and an undefined byte
# read as the characters the page shows.
scenario_accessible_code_page() {
  read_page '<p>\x80 \x93q\x94 \x81 caf\xe9</p>' \
    '"<p>\u20ac \u201cq\u201d \ufffd caf\u00e9</p>"' \
    '"<p>x\u20ac \u201cq\u201d \ufffd caf\u00e9</p>"'
}

# A UTF-8 page: offsets count characters, not bytes.
scenario_accessible_utf8() {
  read_page '\xe6\x97\xa5\xe6\x9c\xac\xe8\xaa\x9e caf\xc3\xa9' \
    '"\u65e5\u672c\u8a9e caf\u00e9"' \
    '"\u65e5\u672c\u8a9ex caf\u00e9"'
}

declare -F "scenario_$scenario" >/dev/null || fail "unknown scenario"
"scenario_$scenario"
echo "[$scenario] passed"
