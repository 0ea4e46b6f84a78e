#!/usr/bin/env bash
# End-to-end scenarios of unsaved work: the program is killed while a
# document is modified, started again, and the work is restored and saved;
# a normal close leaves no recovery copy behind. The helpers (folders,
# starting the program, waiting for windows, keys) are those of e2e.sh.
#
#   e2e_recovery.sh SCENARIO VEXA DATA_DIR [BUILD_DIR]
#
# Scenarios: recover_named, recover_untitled, close_leaves_no_copy.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# Everything of e2e.sh but its choice of scenario.
# shellcheck source=e2e.sh
E2E_DIR=$here
source <(sed '/^declare -F "scenario_/,$d' "$here/e2e.sh")

RECOVER=$(title 'Recover unsaved work')
SAVE_AS=$(title 'Save As')
recovery=$shared/vexapro/recovery

# The lines of a new page, with CR LF after each.
template() {
  printf '%s\r\n' '<html>' '' '<head>' '<title>New Page</title>' \
    '<meta name="GENERATOR" content="Vexa Web Editor 3.0 Pro">' '</head>'
}

# Waits for this run's recovery copy to hold the text.
wait_copy_with() {
  local text=$1 limit=${2:-30} copy
  local deadline=$((SECONDS + limit))
  while :; do
    copy=$(find "$recovery" -name '*.vwr' 2>/dev/null | head -n 1 || true)
    if [ -n "$copy" ] && grep -qaF -- "$text" "$copy"; then return 0; fi
    [ "$SECONDS" -lt "$deadline" ] || fail "no recovery copy with '$text' within ${limit}s"
    sleep 0.2
  done
}

# The program ends the way a crash or a power cut ends it.
kill_hard() {
  kill -KILL "$pid"
  wait "$pid" 2>/dev/null || true
  pid=
}

type_at_end() {  # window text...
  local main=$1
  shift
  focus "$main"
  # The editor has the keyboard once the window has it.
  xdotool key ctrl+End
  xdotool type --delay 30 "$@"
}

# Names the document through the save-as dialog that F2 opens.
save_as() {
  local path=$1 dialog
  xdotool key F2
  dialog=$(wait_window "$SAVE_AS" 30)
  focus "$dialog"
  xdotool type --delay 20 "$path"
  xdotool key Return
  wait_file "$path"
  wait_no_window "$SAVE_AS" 30
}

# After a start: answers "Restore" (the default button); prints the main window.
restore_at_start() {
  local main box
  main=$(wait_started)
  box=$(wait_window "$RECOVER" 30)
  focus "$box"
  xdotool key Return
  wait_no_window "$RECOVER" 30
  echo "$main"
}

# The file holds exactly these bytes, once a save has written them.
wait_bytes() {  # path expected-file
  local deadline=$((SECONDS + 30))
  until cmp -s "$2" "$1"; do
    [ "$SECONDS" -lt "$deadline" ] || fail "$1 differs: $(od -c "$1" | tail -n 5)"
    sleep 0.2
  done
}

# Fresh folders and a returning user's settings, then the program.
start_fresh() {
  make_folders
  write_quiet_ini
  start_vexa "$vexa"
}

expect_no_copies() {
  local left
  left=$(find "$recovery" -type f 2>/dev/null || true)
  [ -z "$left" ] || fail "files left in the recovery folder: $left"
}

scenario_recover_named() {
  start_fresh
  local main page=$work/sites/page.htm
  main=$(wait_started)
  step "name the document, then change it"
  type_at_end "$main" '<p>Hello</p>'
  save_as "$page"
  xdotool key Return
  xdotool type --delay 30 'World'
  wait_copy_with 'World'
  step "kill the program"
  kill_hard
  { template; printf '<p>Hello</p>'; } >"$work/saved"
  cmp -s "$work/saved" "$page" || fail "the file changed before the restore"

  step "start again and restore"
  start_vexa "$vexa"
  main=$(restore_at_start)
  focus "$main"
  xdotool key F2
  { template; printf '<p>Hello</p>\r\nWorld'; } >"$work/expected"
  wait_bytes "$page" "$work/expected"
  step "leave: the saved document asks nothing and leaves no copy"
  exit_from_menu "$main"
  wait_exit 60
  expect_no_copies
}

scenario_recover_untitled() {
  start_fresh
  local main page=$work/sites/kept.htm
  main=$(wait_started)
  step "type into the untitled document"
  type_at_end "$main" 'Unsaved words'
  wait_copy_with 'Unsaved words'
  step "kill the program"
  kill_hard

  step "start again, restore and save under a name"
  start_vexa "$vexa"
  main=$(restore_at_start)
  focus "$main"
  save_as "$page"
  { template; printf 'Unsaved words'; } >"$work/expected"
  wait_bytes "$page" "$work/expected"
  exit_from_menu "$main"
  wait_exit 60
  expect_no_copies
}

scenario_close_leaves_no_copy() {
  start_fresh
  local main prompt
  main=$(wait_started)
  type_at_end "$main" 'Thrown away'
  wait_copy_with 'Thrown away'
  step "leave without saving"
  exit_from_menu "$main"
  prompt=$(wait_window "$(title 'File Save')" 30)
  focus "$prompt"
  press Tab  # from "Yes" to "No"
  xdotool key space
  wait_exit 60
  expect_no_copies
  step "the next start offers nothing"
  start_vexa "$vexa"
  main=$(wait_started)
  # The question would come in the start-up's last step, before the program
  # reads a key: keys that reach the document show the start-up went by it.
  type_at_end "$main" 'Second run'
  wait_copy_with 'Second run'
  visible "$RECOVER" && fail "a recovery question after a normal close"
  exit_from_menu "$main"
  prompt=$(wait_window "$(title 'File Save')" 30)
  focus "$prompt"
  press Tab
  xdotool key space
  wait_exit 60
  expect_no_copies
}

case "$scenario" in
  recover_named | recover_untitled | close_leaves_no_copy) "scenario_$scenario" ;;
  *) fail "unknown scenario" ;;
esac
echo "[$scenario] passed"
