#!/usr/bin/env bash
# End-to-end scenarios of the editor. Each starts the real program as a
# separate process with a fresh program folder and shared folder, drives it
# from outside with xdotool as a user would (from the keyboard, finding
# windows by their titles), waits for what it does by polling, and checks the
# files it leaves and the windows it shows. Runs on an X display (on-display.sh)
# under a window manager that draws frames (openbox, started here), or on the
# bare server when VEXA_E2E_WM=none.
#
#   e2e.sh SCENARIO VEXA DATA_DIR [BUILD_DIR]
#
# A scenario is a function scenario_NAME below or in e2e_install.sh.
# errtrace: a command failing inside a helper reports itself too.
set -Eeuo pipefail

scenario=$1
vexa=$2
data=$3
build=${4:-}

work=$(mktemp -d "${TMPDIR:-/tmp}/vexa-e2e.XXXXXX")
prog=$work/program
shared=$work/shared
log=$work/vexa.log
pid=
wm=${VEXA_E2E_WM:-openbox}
[ "$wm" = none ] && wm=
wm_pid=

cleanup() {
  local rc=$?
  if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  fi
  if [ -n "$wm_pid" ]; then
    kill "$wm_pid" 2>/dev/null || true
    wait "$wm_pid" 2>/dev/null || true
  fi
  chmod -R u+w "$work" 2>/dev/null || true
  if [ "$rc" -ne 0 ] && [ -n "${VEXA_E2E_KEEP:-}" ]; then
    echo "kept $work" >&2
  else
    rm -rf "$work"
  fi
}
trap cleanup EXIT

fail() {
  echo "FAIL [$scenario]: $*" >&2
  if [ -s "$log" ]; then
    echo "--- program output ---" >&2
    tail -n 40 "$log" >&2
  fi
  if [ -n "${VEXA_E2E_SHOT:-}" ] && command -v import >/dev/null; then
    import -window root "$VEXA_E2E_SHOT" 2>/dev/null || true
  fi
  exit 1
}

step() { echo "[$scenario] $*"; }

# A command that fails where nothing expects it ends the scenario with its name.
trap 'fail "line $LINENO: \"$BASH_COMMAND\" failed with status $?"' ERR

# Polls a command until it succeeds, up to the limit (seconds); then fails
# with the message, expanded then (so it can tell the state at the end).
until_true() {
  local limit=$1 message=$2
  shift 2
  local deadline=$((SECONDS + limit))
  until "$@"; do
    [ "$SECONDS" -lt "$deadline" ] || fail "$(eval "echo \"$message\"")"
    sleep 0.1
  done
}

wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }

# The window manager on this display, with a home of its own so that no
# user's configuration changes what it does.
start_wm() {
  [ -n "$wm" ] && [ -z "$wm_pid" ] || return 0
  mkdir -p "$work/wm-home"
  xdpyinfo >/dev/null 2>"$work/display.log" && echo ok >"$work/display.log"
  local options=()
  [ "$wm" = openbox ] && options=(--sm-disable)
  HOME="$work/wm-home" XDG_CONFIG_HOME="$work/wm-home/.config" "$wm" "${options[@]}" \
    >>"$work/wm.log" 2>&1 &
  wm_pid=$!
  until_true 30 'the window manager $wm did not start: $(wm_state)' wm_running
}

# What stands in the way of a window manager that does not come up.
wm_state() {
  local state
  kill -0 "$wm_pid" 2>/dev/null && state="running" || state="ended"
  xdpyinfo >/dev/null 2>&1 && state+=", display $DISPLAY answers" ||
    state+=", display $DISPLAY does not answer"
  state+=", lock of $(cat "/tmp/.X${DISPLAY#:}-lock" 2>/dev/null | tr -d ' '), server $(pgrep -P "$PPID" Xvfb | tr '\n' ' ')"
  state+=", first answer: $(cat "$work/display.log" 2>/dev/null)"
  echo "$state; its output: $(tail -n 5 "$work/wm.log" 2>/dev/null | tr '\n' ' ')"
}

# A program folder as the build lays it out, and an empty shared folder.
make_folders() {
  mkdir -p "$prog" "$shared" "$work/home" "$work/runtime" "$work/sites"
  chmod 700 "$work/runtime"
  cp -R "$data"/. "$prog"/
}

# Starts the program in the background; any arguments go before it (a wrapper).
start_vexa() {
  # Every scenario's program runs under the window manager (when there is one).
  start_wm
  env HOME="$work/home" XDG_RUNTIME_DIR="$work/runtime" XDG_CONFIG_HOME="$work/home/.config" \
    XDG_CACHE_HOME="$work/home/.cache" XDG_DATA_HOME="$work/home/.local/share" \
    QT_QPA_PLATFORM=xcb VEXA_PROGRAM_DIR="$prog/" VEXA_SHARED_DIR="$shared/" \
    VEXA_SPLASH_MS=500 QTWEBENGINE_DISABLE_SANDBOX=1 \
    QTWEBENGINE_CHROMIUM_FLAGS="--disable-gpu --no-sandbox" \
    "$@" >>"$log" 2>&1 &
  pid=$!
}

alive() { kill -0 "$pid" 2>/dev/null; }

# Prints the id of a visible window whose title matches the pattern, waiting
# for it up to the limit (seconds).
wait_window() {
  local pattern=$1 limit=${2:-90} id=""
  local deadline=$((SECONDS + limit))
  while [ "$SECONDS" -lt "$deadline" ]; do
    id=$(xdotool search --onlyvisible --name "$pattern" 2>/dev/null | head -n 1 || true)
    if [ -n "$id" ]; then
      echo "$id"
      return 0
    fi
    alive || fail "the program ended while waiting for '$pattern'"
    sleep 0.2
  done
  fail "no window '$pattern' within ${limit}s"
}

# The preview's top-level X window can be replaced once, right after it is
# first shown: when the browser view's own surface appears, Qt recreates the
# window with the surface type the view needs. Prints the id of a window
# matching the pattern once the same window has stood for a second.
wait_settled_window() {
  local pattern=$1 limit=${2:-90} id="" last="" polls=0
  local deadline=$((SECONDS + limit))
  while [ "$SECONDS" -lt "$deadline" ]; do
    id=$(xdotool search --onlyvisible --name "$pattern" 2>/dev/null | head -n 1 || true)
    if [ -z "$id" ] || [ "$id" != "$last" ] || ! xwininfo -id "$id" >/dev/null 2>&1; then
      last=$id
      polls=0
    elif [ $((polls += 1)) -ge 5 ]; then
      echo "$id"
      return 0
    fi
    alive || fail "the program ended while waiting for '$pattern'"
    sleep 0.2
  done
  fail "no window '$pattern' that stayed within ${limit}s"
}

visible() { xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; }

not_visible() { ! visible "$1"; }

# Waits until no visible window matches the pattern.
wait_no_window() {
  local limit=${2:-60}
  until_true "$limit" "window '$1' still there after ${limit}s" not_visible "$1"
}

# Waits for the program to end and checks that it ended normally.
wait_exit() {
  local limit=${1:-60}
  local deadline=$((SECONDS + limit))
  while alive; do
    [ "$SECONDS" -lt "$deadline" ] || fail "the program did not end within ${limit}s"
    sleep 0.2
  done
  local rc=0
  wait "$pid" || rc=$?
  pid=
  [ "$rc" -eq 0 ] || fail "the program ended with exit code $rc"
}

wait_file() {
  local limit=${2:-30}
  until_true "$limit" "no file $1 within ${limit}s" test -s "$1"
}

# Window titles as the display shows them: the application's name may follow.
title() { echo "^$1( .*)?\$"; }
MAIN=$(title 'Vexa Web Editor 3\.0 Pro')
PROJECTS=$(title 'Projects')
PREVIEW=$(title 'Preview')
MANAGER=$(title 'Vexa Manager')
# A message box is titled with the application's name alone.
ERROR_BOX='^Vexa Web Editor Pro$'

# The main window, once the start-up has run. The settings the scenarios use
# show the manager, which the start-up does after the splash and the projects
# dialog; the rest of the start-up runs in the same step, before the program
# reads any key or click sent after this.
wait_started() {
  local main
  main=$(wait_window "$MAIN")
  wait_window "$MANAGER" >/dev/null
  echo "$main"
}

has_focus() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ]; }

# Gives a window the keyboard focus and waits until it has it: through the
# window manager when there is one, directly on the bare server.
# A request the window manager received while it was still placing the
# window can go unanswered; it is made again every second.
focus() {
  local attempt
  for attempt in $(seq 10); do
    if [ -n "$wm" ]; then
      xdotool windowactivate "$1" 2>/dev/null || true
    else
      xdotool windowfocus "$1" 2>/dev/null || true
    fi
    for _ in $(seq 10); do
      has_focus "$1" && return 0
      sleep 0.1
    done
  done
  fail "window $1 did not take the focus"
}

# Presses a key a number of times (moving through a window's tab order).
press() {
  local key=$1 times=${2:-1}
  for _ in $(seq "$times"); do xdotool key --clearmodifiers "$key"; done
}

# The program takes the click before any key or click sent after it: they
# reach it in the order they were sent.
click() {  # window x y [click options], in the window's own coordinates
  local window=$1 x=$2 y=$3
  shift 3
  xdotool mousemove --sync --window "$window" "$x" "$y" click "$@" 1
}

# The program's windows on screen, by id.
visible_ids() { xdotool search --onlyvisible --classname vexa 2>/dev/null | sort; }

# A menu entry from the keyboard: Alt plus the menu's key, then the entry's
# key. The menu is a window of its own, the one that appears after Alt.
menu_entry() {
  local window=$1 menu_key=$2 entry_key=$3 before menu="" attempt
  new_menu() {
    menu=$(comm -13 <(echo "$before") <(visible_ids) | head -n 1)
    [ -n "$menu" ]
  }
  # A window that comes up meanwhile may take the focus before the keys
  # arrive; then the menu is asked for again.
  for attempt in 1 2 3; do
    focus "$window"
    before=$(visible_ids)
    xdotool key --clearmodifiers "alt+$menu_key"
    local deadline=$((SECONDS + 10))
    until new_menu || [ "$SECONDS" -ge "$deadline" ]; do sleep 0.1; done
    [ -n "$menu" ] && break
  done
  [ -n "$menu" ] || fail "the menu of Alt+$menu_key did not open"
  xdotool key "$entry_key"
  menu_closed() { ! visible_ids | grep -qx "$menu"; }
  until_true 30 "the menu of Alt+$menu_key did not close" menu_closed
}

# File > Exit, as a user leaves the program.
exit_from_menu() { menu_entry "$1" f x; }

# Prints "x y width height" of a window's client area on the screen. (xdotool
# counts the client's offset in a window manager's frame twice.)
geometry() {
  xwininfo -id "$1" 2>/dev/null | awk -F: '
    /Absolute upper-left X/ { x = $2 } /Absolute upper-left Y/ { y = $2 }
    /^ *Width/ { w = $2 } /^ *Height/ { h = $2 }
    END { printf "%d %d %d %d\n", x, y, w, h }'
}

# The frame the window manager drew around a window: "left right top bottom"
# (all 0 on the bare server).
frame_extents() {
  local extents
  extents=$(xprop -id "$1" _NET_FRAME_EXTENTS 2>/dev/null | sed -n 's/.*= //p' | tr -d ',')
  echo "${extents:-0 0 0 0}"
}

outer_geometry() {  # prints "x y width height" of a window with its frame
  local x y w h l r t b
  read -r x y w h <<<"$(geometry "$1")"
  read -r l r t b <<<"$(frame_extents "$1")"
  echo "$((x - l)) $((y - t)) $((w + l + r)) $((h + t + b))"
}

# What the window manager lets the user do with a window, as its title bar
# shows it: the buttons among close, minimize and maximize.
title_buttons() {
  local actions buttons=""
  actions=$(xprop -id "$1" _NET_WM_ALLOWED_ACTIONS 2>/dev/null)
  [[ "$actions" == *_NET_WM_ACTION_MINIMIZE* ]] && buttons+="minimize "
  [[ "$actions" == *_NET_WM_ACTION_MAXIMIZE_HORZ* ]] && buttons+="maximize "
  [[ "$actions" == *_NET_WM_ACTION_CLOSE* ]] && buttons+="close "
  echo "${buttons% }"
}


ini_value() { grep -a "^$1=" "$prog/vexapro.ini" | head -n 1 | cut -d= -f2- | tr -d '\r'; }

# The nineteen keys under their three sections, in the order they are written,
# then the recent files and the preview's caret outline in sections of their own.
check_ini_layout() {
  local expected actual
  expected=$(printf '%s\n' '[Vexa options]' 'Automatic Preview' 'Word Wrap' 'Working Offline' \
    'Show Project Start' 'Show Manager Start' 'Show Preview Start' '[Vexa Manager options]' \
    'Tab' 'Qlist1' 'Qlist2' '[Vexa Interface]' 'Height' 'Width' 'Left' 'Top' 'Height Pr' \
    'Width Pr' 'Left Pr' 'Top Pr' 'Left Manager' 'Top Manager' '[Vexa Recent]' 'File1' 'File2' \
    'File3' 'File4' 'File5' 'File6' 'File7' 'File8' '[Vexa Editing]' 'Line Numbers' 'Caret Line' \
    'Close Tags' 'Complete End Tags' 'Match Pairs' 'Auto Indent' 'Tab Expands' \
    '[Vexa Preview Caret]' 'Outline')
  actual=$(tr -d '\r' <"$prog/vexapro.ini" | sed -e 's/=.*//')
  [ "$expected" = "$actual" ] || fail "vexapro.ini keys differ:
$actual"
  grep -qv $'\r$' "$prog/vexapro.ini" && fail "vexapro.ini has a line without CR LF"
  return 0
}

expect_eq() {  # what expected actual
  [ "$2" = "$3" ] || fail "$1: expected '$2', got '$3'"
}

# Settings of a returning user: no projects dialog at start, the manager out
# of the way at the right, the main window where it was designed.
write_quiet_ini() {
  printf '%s\r\n' '[Vexa options]' 'Automatic Preview=1' 'Word Wrap=0' 'Working Offline=1' \
    'Show Project Start=0' 'Show Manager Start=1' 'Show Preview Start=0' \
    '[Vexa Manager options]' 'Tab=1' 'Qlist1=' 'Qlist2=' '[Vexa Interface]' \
    'Height=304' 'Width=792' 'Left=212' 'Top=0' 'Height Pr=390' 'Width Pr=803' 'Left Pr=211' \
    'Top Pr=337' 'Left Manager=1040' 'Top Manager=40' >"$prog/vexapro.ini"
}

# The projects dialog's "New Project" page from the keyboard: the tab order
# runs from the page's tab through the title, the drive list and the folder
# list to the folder box, then to "Create New Project".
create_project() {
  local projects=$1 site=$2
  focus "$projects"
  press Tab 4
  xdotool key ctrl+a
  xdotool type --delay 20 "$site"
  press Tab
  xdotool key space
}

moved() {  # window "x y width height" before: true once it has moved away from there
  local x y w h was_x was_y rest
  read -r x y w h <<<"$(geometry "$1")"
  read -r was_x was_y rest <<<"$2"
  [ "$x $y" != "$was_x $was_y" ]
}

size_is() {  # window "width height" of the client area
  local x y w h
  read -r x y w h <<<"$(geometry "$1")"
  [ "$w $h" = "$2" ]
}

# Moves a window and sizes its client area, and waits until both happened.
# Where the window lands is the window manager's reading of the request
# (frame or client corner), so only the move itself is waited for.
place_window() {  # window x y [width height]
  local before
  before=$(geometry "$1")
  if [ $# -gt 3 ]; then
    xdotool windowsize "$1" "$4" "$5"
    until_true 10 "window $1 did not take the size $4 x $5" size_is "$1" "$4 $5"
  fi
  xdotool windowmove "$1" "$2" "$3"
  until_true 10 "window $1 did not move to $2 $3" moved "$1" "$before"
}

ini_bounds() {  # the stored "x y width height" of a window: "" (main) or " Pr"
  echo "$(ini_value "Left$1") $(ini_value "Top$1") $(ini_value "Width$1") $(ini_value "Height$1")"
}

scenario_two_runs() {
  make_folders
  start_wm
  step "first run: no settings file"
  start_vexa "$vexa"
  local main projects
  main=$(wait_window "$MAIN")
  projects=$(wait_window "$PROJECTS")
  # The projects dialog is modal: the preview and the manager come after it.
  visible "$PREVIEW" && fail "preview shown before the projects dialog closed"
  visible "$MANAGER" && fail "manager shown before the projects dialog closed"

  step "create a project"
  local site=$work/sites/shop
  mkdir -p "$site"
  create_project "$projects" "$site"
  wait_no_window "$PROJECTS" 30
  [ -f "$site/index.htm" ] || fail "the project's start page was not created"
  for sub in images private files; do [ -d "$site/$sub" ] || fail "no folder $sub in the site"; done
  expect_eq "project file" "$site" \
    "$(tr -d '\r' <"$shared/vexapro/projects/New Project.vexa")"

  local preview manager
  preview=$(wait_settled_window "$PREVIEW")
  manager=$(wait_window "$MANAGER")

  step "move the windows and leave"
  place_window "$main" 150 60 700 420
  place_window "$preview" 300 470 600 300
  place_window "$manager" 1000 40
  local mx my rest
  # What the window manager framed them with is part of their outer bounds.
  local main_outer preview_outer manager_outer
  main_outer=$(outer_geometry "$main")
  preview_outer=$(outer_geometry "$preview")
  read -r mx my rest <<<"$(outer_geometry "$manager")"
  manager_outer="$mx $my"
  exit_from_menu "$main"
  wait_exit 60
  [ -f "$prog/vexapro.ini" ] || fail "no vexapro.ini after the close"
  check_ini_layout
  expect_eq "Show Project Start" 1 "$(ini_value 'Show Project Start')"
  expect_eq "Show Manager Start" 1 "$(ini_value 'Show Manager Start')"
  expect_eq "Automatic Preview" 1 "$(ini_value 'Automatic Preview')"
  expect_eq "main window" "$main_outer" "$(ini_bounds '')"
  expect_eq "preview window" "$preview_outer" "$(ini_bounds ' Pr')"
  expect_eq "manager window" "$manager_outer" \
    "$(ini_value 'Left Manager') $(ini_value 'Top Manager')"

  step "second run: the windows come back where they were"
  # The user has since turned the projects dialog off in the manager.
  sed -i 's/^Show Project Start=1/Show Project Start=0/' "$prog/vexapro.ini"
  local first
  first=$(cat "$prog/vexapro.ini")
  start_vexa "$vexa"
  main=$(wait_window "$MAIN")
  preview=$(wait_settled_window "$PREVIEW")
  manager=$(wait_window "$MANAGER")
  visible "$PROJECTS" && fail "projects dialog shown although turned off"
  until_true 10 'main window at $(outer_geometry "$main"), not at $main_outer' \
    outer_is "$main" "$main_outer"
  until_true 10 'preview window at $(outer_geometry "$preview"), not at $preview_outer' \
    outer_is "$preview" "$preview_outer"
  read -r mx my rest <<<"$(outer_geometry "$manager")"
  expect_eq "manager window" "$manager_outer" "$mx $my"
  exit_from_menu "$main"
  wait_exit 60
  check_ini_layout
  # Nothing was moved: the file is as the first run left it, byte for byte.
  expect_eq "settings after the second run" "$first" "$(cat "$prog/vexapro.ini")"
}

# The projects dialog comes up modally while the start-up runs, before the
# main window's frame may be known: three runs in a row, a first run and two
# with the settings file, each creating a project and leaving by File > Exit.
# What each close writes is where the window stood, and the next start puts
# it there again: the bounds neither climb nor grow.
scenario_projects_at_start() {
  [ -n "$wm" ] || fail "this scenario needs a window manager"
  make_folders
  start_wm
  local run main projects stored="" outer
  for run in 1 2 3; do
    step "run $run: the projects dialog at start"
    # No splash to wait for: the dialog comes before the window manager has
    # framed the main window.
    start_vexa env VEXA_SPLASH_MS=0 "$vexa"
    main=$(wait_window "$MAIN")
    projects=$(wait_window "$PROJECTS")
    mkdir -p "$work/sites/site$run"
    create_project "$projects" "$work/sites/site$run"
    wait_no_window "$PROJECTS" 30
    wait_window "$MANAGER" >/dev/null
    wait_settled_window "$PREVIEW" >/dev/null
    if [ -n "$stored" ]; then
      until_true 10 'run $run: main window at $(outer_geometry "$main"), stored $stored' \
        outer_is "$main" "$stored"
    fi
    outer=$(outer_geometry "$main")
    exit_from_menu "$main"
    wait_exit 60
    expect_eq "Show Project Start" 1 "$(ini_value 'Show Project Start')"
    expect_eq "run $run: main window written" "$outer" "$(ini_bounds '')"
    [ -z "$stored" ] || expect_eq "run $run: main window" "$stored" "$(ini_bounds '')"
    stored=$(ini_bounds '')
    local top
    read -r _ top _ <<<"$stored"
    [ "$top" -ge 0 ] || fail "run $run: the title bar is above the screen: $stored"
  done
}

outer_is() { [ "$(outer_geometry "$1")" = "$2" ]; }

scenario_save_with_f2() {
  make_folders
  start_wm
  write_quiet_ini
  start_vexa "$vexa"
  local main
  main=$(wait_started)
  step "type a page"
  focus "$main"
  xdotool key ctrl+End
  xdotool type --delay 30 '<p>Hello</p>'
  xdotool key Return
  xdotool type --delay 30 'World'
  step "save it with F2 under a name"
  xdotool key F2
  local dialog
  dialog=$(wait_window "$(title 'Save As')" 30)
  focus "$dialog"
  local page=$work/sites/page.htm
  xdotool type --delay 20 "$page"
  xdotool key Return
  wait_file "$page"
  wait_no_window "$(title 'Save As')" 30
  local expected
  expected=$(printf '%s\r\n' '<html>' '' '<head>' '<title>New Page</title>' \
    '<meta name="GENERATOR" content="Vexa Web Editor 3.0 Pro">' '</head>' '<p>Hello</p>'
    printf 'World')
  # Lines end in CR LF; whether the last line gets one too is the editor's
  # save format, not this scenario's concern.
  cmp -s <(printf '%s' "$expected") "$page" || cmp -s <(printf '%s\r\n' "$expected") "$page" ||
    fail "saved page differs: $(od -c "$page" | tail -n 5)"
  step "leave: the saved document asks nothing"
  exit_from_menu "$main"
  wait_exit 60
  check_ini_layout
}

# The splash's title: the application's name may follow, the main window's
# "3.0 Pro" may not.
SPLASH='^Vexa Web Editor($| [^3])'

centred_on_screen() {  # window: the centre of its outer bounds is the screen's
  local x y w h sw sh
  read -r x y w h <<<"$(outer_geometry "$1")"
  read -r sw sh <<<"$(xdotool getdisplaygeometry)"
  [ $((2 * x + w - sw)) -ge -2 ] && [ $((2 * x + w - sw)) -le 2 ] &&
    [ $((2 * y + h - sh)) -ge -2 ] && [ $((2 * y + h - sh)) -le 2 ]
}

on_screen() {  # window: its outer bounds lie within the screen
  local x y w h sw sh
  read -r x y w h <<<"$(outer_geometry "$1")"
  read -r sw sh <<<"$(xdotool getdisplaygeometry)"
  [ "$x" -ge 0 ] && [ "$y" -ge 0 ] && [ $((x + w)) -le "$sw" ] && [ $((y + h)) -le "$sh" ]
}

outer_size_is() {  # window "width height"
  local x y w h
  read -r x y w h <<<"$(outer_geometry "$1")"
  [ "$w $h" = "$2" ]
}

# The windows as a window manager frames them: the splash has no title-bar
# buttons and sits in the middle of the screen, a preview stored far taller
# than the screen comes up on it, and the help window's outer size is its
# design size.
scenario_window_frames() {
  [ -n "$wm" ] || fail "this scenario needs a window manager"
  make_folders
  start_wm
  write_quiet_ini
  sed -i -e 's/^Height Pr=390/Height Pr=0x7FFFFFFF/' \
    -e 's/^Show Preview Start=0/Show Preview Start=1/' "$prog/vexapro.ini"
  # A splash that stays long enough to be looked at.
  start_vexa env VEXA_SPLASH_MS=8000 "$vexa"
  local splash
  splash=$(wait_window "$SPLASH" 60)
  step "the splash"
  expect_eq "splash title-bar buttons" "" "$(title_buttons "$splash")"
  until_true 5 'splash at $(outer_geometry "$splash"), not centred' centred_on_screen "$splash"

  local main preview help
  main=$(wait_started)
  step "the preview"
  preview=$(wait_settled_window "$PREVIEW")
  until_true 10 'preview at $(outer_geometry "$preview"), beyond the screen' on_screen "$preview"

  step "the help window"
  menu_entry "$main" h h
  help=$(wait_window "$(title 'Help Vexa Web Editor')" 30)
  until_true 10 'help window at $(outer_geometry "$help"), not 707 x 496' \
    outer_size_is "$help" "707 496"
  exit_from_menu "$main"
  wait_exit 60
}

# The title-bar buttons each window asks for, under a window manager that
# follows the windows' Motif hints (openbox, by its own policy, gives every
# framed window its close and minimize buttons whatever the window asks).
scenario_window_buttons() {
  [ -n "$wm" ] || fail "this scenario needs a window manager"
  make_folders
  start_vexa env VEXA_SPLASH_MS=3000 "$vexa"
  local splash projects main manager prompt
  splash=$(wait_window "$SPLASH" 60)
  expect_eq "splash title-bar buttons" "" "$(title_buttons "$splash")"
  step "the projects dialog"
  projects=$(wait_window "$PROJECTS")
  main=$(wait_window "$MAIN")
  until_true 10 'projects dialog with the buttons "$(title_buttons "$projects")"' \
    buttons_are "$projects" ""
  mkdir -p "$work/sites/shop"
  create_project "$projects" "$work/sites/shop"
  wait_no_window "$PROJECTS" 30
  step "the manager"
  manager=$(wait_window "$MANAGER")
  until_true 10 'manager with the buttons "$(title_buttons "$manager")"' \
    buttons_are "$manager" "close"
  until_true 10 'main window with the buttons "$(title_buttons "$main")"' \
    buttons_are "$main" "minimize maximize close"
  step "the save prompt"
  # The preview comes up after the manager and takes the focus.
  wait_settled_window "$PREVIEW" >/dev/null
  focus "$main"
  xdotool key ctrl+End
  xdotool type --delay 20 'x'
  menu_entry "$main" f n
  prompt=$(wait_window "$(title 'File Save')" 30)
  until_true 10 'save prompt with the buttons "$(title_buttons "$prompt")"' \
    buttons_are "$prompt" ""
  focus "$prompt"
  press Tab  # from "Yes" to "No"
  xdotool key space
  wait_no_window "$(title 'File Save')" 30
  step "the image dialog and the site chooser of the code generator"
  local generator dialog
  focus "$main"
  xdotool key F10
  generator=$(wait_window "$(title 'Vexa Web HTML Code Generator 1\.2')" 30)
  focus "$generator"
  click "$generator" $CHOOSE_BUTTON_ROW4
  dialog=$(wait_window "$(title 'Insert image')" 30)
  until_true 10 'image dialog with the buttons "$(title_buttons "$dialog")"' \
    buttons_are "$dialog" ""
  focus "$dialog"
  xdotool key Escape
  wait_no_window "$(title 'Insert image')" 30
  click "$generator" $LINK_PAGE_TAB
  click "$generator" $CHOOSE_BUTTON_ROW4
  dialog=$(wait_window "$(title 'Choose site')" 30)
  until_true 10 'site chooser with the buttons "$(title_buttons "$dialog")"' \
    buttons_are "$dialog" "close"
  focus "$dialog"
  xdotool key Escape
  wait_no_window "$(title 'Choose site')" 30
  exit_from_menu "$main"
  wait_exit 60
}

buttons_are() { [ "$(title_buttons "$1")" = "$2" ]; }

# Where the code generator's fixed layout puts its "Insert Link" tab and the
# "^" button of a page's fourth row, in the window's client area.
LINK_PAGE_TAB="177 26"
CHOOSE_BUTTON_ROW4="498 212"

# A start and a close with nothing moved leave the settings file as it was,
# byte for byte, also when the program reaches its main window before the
# window manager has framed it (no splash to wait for).
scenario_settings_unchanged() {
  make_folders
  start_wm
  write_quiet_ini
  sed -i 's/^Show Preview Start=0/Show Preview Start=1/' "$prog/vexapro.ini"
  # A file the editor wrote itself holds the recent files too, all eight keys,
  # the typing aids' switches and the preview's caret outline switch.
  printf '%s\r\n' '[Vexa Recent]' File{1..8}= >>"$prog/vexapro.ini"
  printf '%s\r\n' '[Vexa Editing]' 'Line Numbers=1' 'Caret Line=1' 'Close Tags=1' \
    'Complete End Tags=1' 'Match Pairs=1' 'Auto Indent=1' 'Tab Expands=0' \
    '[Vexa Preview Caret]' 'Outline=1' >>"$prog/vexapro.ini"
  local before main
  before=$(cat "$prog/vexapro.ini")
  start_vexa env VEXA_SPLASH_MS=0 "$vexa"
  main=$(wait_started)
  wait_window "$PREVIEW" >/dev/null
  exit_from_menu "$main"
  wait_exit 60
  expect_eq "settings file" "$before" "$(cat "$prog/vexapro.ini")"
}

scenario_read_only_folder() {
  make_folders
  start_wm
  write_quiet_ini
  local before
  before=$(cat "$prog/vexapro.ini")
  if [ "$(id -u)" -eq 0 ]; then
    # The superuser writes through permissions: a read-only mount of the
    # program folder, private to the program's process.
    start_vexa unshare -m sh -c 'mount --bind -o ro "$1" "$1" && exec "$2"' sh "$prog" "$vexa"
  else
    chmod -R a-w "$prog"
    start_vexa "$vexa"
  fi
  local main box
  main=$(wait_started)
  step "leave: the settings cannot be written"
  exit_from_menu "$main"
  box=$(wait_window "$ERROR_BOX" 30)
  focus "$box"
  xdotool key Return
  wait_exit 60
  expect_eq "settings file" "$before" "$(cat "$prog/vexapro.ini")"
}

# The installed program and the Debian package have their own file.
# shellcheck source=e2e_install.sh
source "${E2E_DIR:-$(dirname "${BASH_SOURCE[0]}")}/e2e_install.sh"

declare -F "scenario_$scenario" >/dev/null || fail "unknown scenario"
"scenario_$scenario"
echo "[$scenario] passed"
