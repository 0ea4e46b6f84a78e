#!/usr/bin/env bash
# Checks the launcher's choice of program folder, with a stand-in for the
# program that reports what it was given: a per-user folder prepared from the
# shipped files for an install the user may not write, refreshed after an
# upgrade without losing the user's settings and lists; the shipped folder
# itself for a writable install in the user's home; VEXA_PROGRAM_DIR as given.
#   launcher_test.sh LAUNCHER BINDIR PROGRAM_DIR DATA_DIR   (the last three relative)
set -uo pipefail
launcher=$1
work=$(mktemp -d)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
# shellcheck source=../tests/support/checks.sh
source "$(dirname "${BASH_SOURCE[0]}")/../tests/support/checks.sh"

# An install under PREFIX: the launcher, the stand-in program, the shipped data.
install_at() {
  local prefix=$1
  mkdir -p "$prefix/$2" "$prefix/$3" "$prefix/$4/qcode"
  cp "$launcher" "$prefix/$2/vexa"
  printf '#!/bin/sh\nprintf "%%s\\n" "$VEXA_PROGRAM_DIR" "$@" > "$VEXA_TEST_REPORT"\n' \
    >"$prefix/$3/vexa"
  chmod +x "$prefix/$2/vexa" "$prefix/$3/vexa"
  echo 'start page' >"$prefix/$4/vexa.vwe"
  echo 'shipped list' >"$prefix/$4/qcode/html1.qvw"
}

report=$work/report
run() {  # HOME, then arguments; the launcher of the install under $prefix
  local home=$1
  shift
  env -u VEXA_PROGRAM_DIR -u XDG_DATA_HOME HOME="$home" VEXA_TEST_REPORT="$report" \
    "$prefix/$bindir/vexa" "$@"
}
bindir=$2
shipped_rel=$4

# A system-wide install: shared, read-only, outside the user's home.
prefix=$work/usr
install_at "$prefix" "$2" "$3" "$4"
shipped=$prefix/$shipped_rel
chmod -R a-w "$shipped"
home=$work/home
user=$home/.local/share/vexa
mkdir -p "$home"
run "$home" "page one.htm" -x
check "per-user folder given" test "$(head -n 1 "$report")" = "$user/"
check "arguments passed on" test "$(tail -n +2 "$report")" = "$(printf '%s\n' 'page one.htm' -x)"
check "shipped files copied" cmp -s "$user/qcode/html1.qvw" "$shipped/qcode/html1.qvw"
check "copies writable" test -w "$user/vexa.vwe"

# The user's own files, and an upgrade that changes a shipped file and adds one.
printf '[Vexa options]\r\n' >"$user/vexapro.ini"
echo 'mine' >"$user/qcode/mine.qvu"
chmod -R u+w "$shipped"
echo 'new list' >"$shipped/qcode/html1.qvw"
echo 'new list 2' >"$shipped/qcode/html2.qvw"
echo 'shipped user list' >"$shipped/qcode/mine.qvu"
chmod -R a-w "$shipped"
run "$home"
check "upgrade refreshes shipped files" cmp -s "$user/qcode/html1.qvw" "$shipped/qcode/html1.qvw"
check "upgrade adds new files" cmp -s "$user/qcode/html2.qvw" "$shipped/qcode/html2.qvw"
check "settings kept" test "$(cat "$user/vexapro.ini")" = $'[Vexa options]\r'
check "own lists kept" test "$(cat "$user/qcode/mine.qvu")" = mine
# Without an upgrade the folder is left as the user has it.
echo 'edited' >"$user/vexa.vwe"
run "$home"
check "no refresh without an upgrade" test "$(cat "$user/vexa.vwe")" = edited
# XDG_DATA_HOME moves the per-user folder.
env -u VEXA_PROGRAM_DIR HOME="$home" XDG_DATA_HOME="$work/data" VEXA_TEST_REPORT="$report" \
  "$prefix/$bindir/vexa"
check "XDG_DATA_HOME" test "$(head -n 1 "$report")" = "$work/data/vexa/"
check "VEXA_PROGRAM_DIR as given" \
  env HOME="$home" VEXA_PROGRAM_DIR=/elsewhere/ VEXA_TEST_REPORT="$report" "$prefix/$bindir/vexa"
check "VEXA_PROGRAM_DIR report" test "$(head -n 1 "$report")" = /elsewhere/
run "$work/home3" --version
check "version prepares nothing" test ! -e "$work/home3"
check "version passed on" test "$(tail -n +2 "$report")" = --version

# An install of the user's own, writable, inside the home: the shipped folder
# is the program folder, as in the build tree, and nothing is copied.
home2=$work/home2
prefix=$home2/.local
install_at "$prefix" "$2" "$3" "$4"
run "$home2"
check "own install uses its folder" test "$(head -n 1 "$report")" = "$prefix/$shipped_rel/"
check "own install copies nothing" test ! -e "$home2/.local/share/vexa/.shipped"
# The same install, no longer writable, falls back to the per-user folder.
chmod -R a-w "$prefix/$shipped_rel"
if [ "$(id -u)" -ne 0 ]; then
  run "$home2"
  check "read-only own install" test "$(head -n 1 "$report")" = "$home2/.local/share/vexa/"
fi

checks_done
