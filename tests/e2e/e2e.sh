#!/usr/bin/env bash
# End-to-end scenarios of the editor. Each starts the real program as a
# separate process with a fresh program folder and shared folder, drives it
# from outside with xdotool as a user would (keys and clicks), and checks the
# files it leaves. Runs on an X display without a window manager (xvfb-run).
#
#   e2e.sh SCENARIO VEXA DATA_DIR [BUILD_DIR]
#
# Scenarios: two_runs, save_with_f2, read_only_folder, installed.
set -euo pipefail

scenario=$1
vexa=$2
data=$3
build=${4:-}

work=$(mktemp -d "${TMPDIR:-/tmp}/vexa-e2e.XXXXXX")
prog=$work/program
shared=$work/shared
log=$work/vexa.log
pid=

cleanup() {
  local rc=$?
  if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
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

# A program folder as the build lays it out, and an empty shared folder.
make_folders() {
  mkdir -p "$prog" "$shared" "$work/home" "$work/runtime" "$work/sites"
  chmod 700 "$work/runtime"
  cp -R "$data"/. "$prog"/
}

# Starts the program in the background; any arguments go before it (a wrapper).
start_vexa() {
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

visible() { xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; }

# Waits until no visible window matches the pattern.
wait_no_window() {
  local pattern=$1 limit=${2:-60}
  local deadline=$((SECONDS + limit))
  while [ "$SECONDS" -lt "$deadline" ]; do
    visible "$pattern" || return 0
    sleep 0.2
  done
  fail "window '$pattern' still there after ${limit}s"
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
  local path=$1 limit=${2:-30}
  local deadline=$((SECONDS + limit))
  until [ -s "$path" ]; do
    [ "$SECONDS" -lt "$deadline" ] || fail "no file $path within ${limit}s"
    sleep 0.2
  done
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

focus() { xdotool windowfocus --sync "$1" 2>/dev/null || xdotool windowfocus "$1"; sleep 0.3; }

click() {  # window x y, in the window's own coordinates
  xdotool mousemove --sync --window "$1" "$2" "$3" click 1
  sleep 0.3
}

# The program's windows on screen, by id.
visible_ids() { xdotool search --onlyvisible --classname vexa 2>/dev/null | sort; }

# File > Exit from the keyboard, as a user leaves the program. The File menu
# is a window of its own, the one that appears after Alt+F.
exit_from_menu() {
  focus "$1"
  local before menu="" deadline=$((SECONDS + 30))
  before=$(visible_ids)
  xdotool key --clearmodifiers alt+f
  while [ -z "$menu" ]; do
    [ "$SECONDS" -lt "$deadline" ] || fail "the File menu did not open"
    sleep 0.2
    menu=$(comm -13 <(echo "$before") <(visible_ids) | head -n 1)
  done
  xdotool key x
  while visible_ids | grep -qx "$menu"; do
    [ "$SECONDS" -lt "$deadline" ] || fail "the File menu did not close"
    sleep 0.2
  done
}

geometry() {  # prints "x y width height" of a window
  local X Y WIDTH HEIGHT WINDOW SCREEN
  eval "$(xdotool getwindowgeometry --shell "$1")"
  echo "$X $Y $WIDTH $HEIGHT"
}

ini_value() { grep -a "^$1=" "$prog/vexapro.ini" | head -n 1 | cut -d= -f2- | tr -d '\r'; }

# The nineteen keys under their three sections, in the order they are written,
# then the recent files in a section of their own.
check_ini_layout() {
  local expected actual
  expected=$(printf '%s\n' '[Vexa options]' 'Automatic Preview' 'Word Wrap' 'Working Offline' \
    'Show Project Start' 'Show Manager Start' 'Show Preview Start' '[Vexa Manager options]' \
    'Tab' 'Qlist1' 'Qlist2' '[Vexa Interface]' 'Height' 'Width' 'Left' 'Top' 'Height Pr' \
    'Width Pr' 'Left Pr' 'Top Pr' 'Left Manager' 'Top Manager' '[Vexa Recent]' 'File1' 'File2' \
    'File3' 'File4' 'File5' 'File6' 'File7' 'File8')
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

scenario_two_runs() {
  make_folders
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
  focus "$projects"
  # The folder box of the "New Project" page, then "Create New Project"
  # (the dialog has a fixed layout).
  click "$projects" 370 292
  xdotool key ctrl+a
  xdotool type --delay 20 "$site"
  click "$projects" 478 68
  wait_no_window "$PROJECTS" 30
  [ -f "$site/index.htm" ] || fail "the project's start page was not created"
  for sub in images private files; do [ -d "$site/$sub" ] || fail "no folder $sub in the site"; done
  expect_eq "project file" "$site" \
    "$(tr -d '\r' <"$shared/vexapro/projects/New Project.vexa")"

  local preview manager
  preview=$(wait_window "$PREVIEW")
  manager=$(wait_window "$MANAGER")

  step "move the windows and leave"
  xdotool windowsize "$main" 700 420 windowmove "$main" 150 60
  xdotool windowsize "$preview" 600 300 windowmove "$preview" 300 470
  xdotool windowmove "$manager" 1000 40
  sleep 0.5
  exit_from_menu "$main"
  wait_exit 60
  [ -f "$prog/vexapro.ini" ] || fail "no vexapro.ini after the close"
  check_ini_layout
  expect_eq "Show Project Start" 1 "$(ini_value 'Show Project Start')"
  expect_eq "Show Manager Start" 1 "$(ini_value 'Show Manager Start')"
  expect_eq "Automatic Preview" 1 "$(ini_value 'Automatic Preview')"
  expect_eq "main window" "700 420 150 60" \
    "$(ini_value Width) $(ini_value Height) $(ini_value Left) $(ini_value Top)"
  expect_eq "preview window" "600 300 300 470" \
    "$(ini_value 'Width Pr') $(ini_value 'Height Pr') $(ini_value 'Left Pr') $(ini_value 'Top Pr')"
  expect_eq "manager window" "1000 40" "$(ini_value 'Left Manager') $(ini_value 'Top Manager')"

  step "second run: the windows come back where they were"
  # The user has since turned the projects dialog off in the manager.
  sed -i 's/^Show Project Start=1/Show Project Start=0/' "$prog/vexapro.ini"
  local first
  first=$(tr -d '\r' <"$prog/vexapro.ini")
  start_vexa "$vexa"
  main=$(wait_window "$MAIN")
  preview=$(wait_window "$PREVIEW")
  manager=$(wait_window "$MANAGER")
  visible "$PROJECTS" && fail "projects dialog shown although turned off"
  expect_eq "main window" "150 60 700 420" "$(geometry "$main")"
  expect_eq "preview window" "300 470 600 300" "$(geometry "$preview")"
  local mx my rest
  read -r mx my rest <<<"$(geometry "$manager")"
  expect_eq "manager window" "1000 40" "$mx $my"
  exit_from_menu "$main"
  wait_exit 60
  check_ini_layout
  expect_eq "settings after the second run" "$first" "$(tr -d '\r' <"$prog/vexapro.ini")"
}

scenario_save_with_f2() {
  make_folders
  write_quiet_ini
  start_vexa "$vexa"
  local main
  main=$(wait_started)
  step "type a page"
  focus "$main"
  click "$main" 400 200
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

scenario_read_only_folder() {
  make_folders
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

scenario_installed() {
  [ -n "$build" ] || fail "the build folder is needed"
  local prefix=$work/prefix
  step "install into $prefix"
  cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 ||
    fail "install failed: $(tail -n 5 "$work/install.log")"
  local folder=$prefix/lib/vexa
  for f in vexa vexa-rtf; do
    [ -x "$folder/$f" ] || fail "no executable $f in the program folder"
    [ "$(readlink -f "$prefix/bin/$f")" = "$(readlink -f "$folder/$f")" ] ||
      fail "bin/$f does not lead to the program folder"
  done
  local missing
  missing=$(cd "$data" && find . -type f | while read -r f; do
    cmp -s "$f" "$folder/$f" || echo "$f"
  done)
  [ -z "$missing" ] || fail "data files missing or different in the program folder: $missing"
  local desktop=$prefix/share/applications/vexa.desktop
  [ -f "$desktop" ] || fail "no desktop entry"
  grep -qx 'Name=Vexa Web Editor Pro' "$desktop" || fail "desktop entry: Name"
  grep -qx "Exec=$prefix/bin/vexa %F" "$desktop" || fail "desktop entry: Exec"
  grep -qx 'Icon=vexa' "$desktop" || fail "desktop entry: Icon"
  grep -q '^Categories=.*Development;' "$desktop" || fail "desktop entry: Categories"
  local mime
  mime=$(grep '^MimeType=' "$desktop")
  for type in text/html application/x-php text/javascript application/xml text/plain; do
    [[ "$mime" == *"$type;"* ]] || fail "desktop entry: MimeType lacks $type"
  done
  [ -f "$prefix/share/icons/hicolor/scalable/apps/vexa.svg" ] || fail "no SVG icon"
  local png=$prefix/share/icons/hicolor/48x48/apps/vexa.png
  [ -f "$png" ] || fail "no 48x48 icon"
  # PNG header: width and height are the big-endian words at bytes 16 and 20.
  expect_eq "icon size" "0000003000000030" "$(od -An -tx1 -j16 -N8 "$png" | tr -d ' \n')"

  step "the installed program uses its own folder"
  mkdir -p "$shared" "$work/home" "$work/runtime"
  chmod 700 "$work/runtime"
  prog=$folder
  write_quiet_ini
  start_vexa env -u VEXA_PROGRAM_DIR "$prefix/bin/vexa"
  local main
  main=$(wait_started)
  exit_from_menu "$main"
  wait_exit 60
  check_ini_layout
}

case "$scenario" in
  two_runs | save_with_f2 | read_only_folder | installed) "scenario_$scenario" ;;
  *) fail "unknown scenario" ;;
esac
echo "[$scenario] passed"
