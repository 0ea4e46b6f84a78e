#!/usr/bin/env bash
# The report check lets through the browser engine's own sized release and
# nothing else: a mismatch with one side of ours, a leak, or a report cut off
# before its summary each fail it.
set -euo pipefail
check=$(dirname "$0")/check-reports.sh
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

engine='(/lib/x86_64-linux-gnu/libQt6WebEngineCore.so.6+0x4173e9a)'
mismatch() {  # release frame, allocation frame
  printf '%s\n' '==7==ERROR: AddressSanitizer: new-delete-type-mismatch on 0x6080 in thread T0:' \
    '  object passed to delete has wrong type:' \
    '    #0 0x7f in operator delete(void*, unsigned long) asan_new_delete.cpp:164' \
    "    #1 0x7f $1" '' 'allocated by thread T0 here:' \
    '    #0 0x7f in operator new(unsigned long) asan_new_delete.cpp:95' \
    "    #1 0x7f $2" '' \
    'SUMMARY: AddressSanitizer: new-delete-type-mismatch in operator delete(void*, unsigned long)'
}

expect() {  # status, report files...
  local want=$1 got=0
  shift
  rm -rf "$work/r" && mkdir "$work/r"
  local i=0
  for report in "$@"; do
    i=$((i + 1))
    printf '%s\n' "$report" >"$work/r/asan.$i"
  done
  "$check" "$work/r" >/dev/null 2>&1 || got=$?
  [ "$got" = "$want" ] || { echo "expected status $want, got $got for: $*" >&2; exit 1; }
}

expect 0
expect 0 "$(mismatch "$engine" "$engine")" "$(mismatch "$engine" "$engine")"
expect 1 "$(mismatch "$engine" "$engine")" "$(mismatch "in TForm4::~TForm4() preview_window.cpp:40" "$engine")"
expect 1 "$(mismatch "$engine" "in TEditorControl::SetText editor_control.cpp:90")"
expect 1 "$(printf '%s\n' '==9==ERROR: LeakSanitizer: detected memory leaks' \
  'Direct leak of 8 byte(s) in 1 object(s) allocated from:' '    #0 0x7f in malloc' \
  "    #1 0x7f $engine" 'SUMMARY: AddressSanitizer: 8 byte(s) leaked in 1 allocation(s).')"
expect 1 "$(mismatch "$engine" "$engine" | head -n 3)"
echo "report check: passed"
