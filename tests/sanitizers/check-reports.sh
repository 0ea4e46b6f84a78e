#!/usr/bin/env bash
# Reads the AddressSanitizer reports the tests left in a folder (log_path)
# and fails on every one but the single kind this project lets pass: a
# new-delete-type-mismatch whose release and allocation both happen inside
# Qt WebEngine's own library. Its Chromium frees some objects through a
# smaller base class with sized deallocation, in the teardown of a page; the
# sanitizer has no suppression entry for that kind of report, so it runs
# with halt_on_error=0 for it and this check stands in for the entry. Any
# other report (a leak, a use after free, a mismatch with a frame of ours)
# fails the run and is printed whole.
#
#   check-reports.sh FOLDER
set -euo pipefail

folder=$1
shopt -s nullglob
files=("$folder"/*)
[ ${#files[@]} -gt 0 ] || { echo "sanitizer reports: none"; exit 0; }

# One report runs from its "==PID==ERROR:" line to its "SUMMARY:" line. It
# passes when it is a mismatch and the first frame after the sanitizer's
# operator delete, and after its operator new, lie in the library.
awk -v lib='libQt6WebEngineCore.so' '
  function finish() {
    if (report == "") return
    if (kind == "new-delete-type-mismatch" && free_frame ~ lib && alloc_frame ~ lib) {
      allowed++
    } else {
      failed++
      printf "%s", report > "/dev/stderr"
    }
    report = ""
  }
  /^==[0-9]+==ERROR: / {
    finish()
    report = ""; kind = $3; stack = "free"; free_frame = ""; alloc_frame = ""
    if ($2 == "LeakSanitizer:") kind = "leak"
  }
  report != "" || /^==[0-9]+==ERROR: / {
    report = report FILENAME ": " $0 "\n"
    if ($0 ~ /allocated by thread/) stack = "alloc"
    if ($1 == "#1" && stack == "free" && free_frame == "") free_frame = $0
    if ($1 == "#1" && stack == "alloc" && alloc_frame == "") alloc_frame = $0
    if ($1 == "SUMMARY:") finish()
  }
  END {
    finish()
    printf "sanitizer reports: %d allowed (the browser engine'"'"'s own sized release), %d failing\n", allowed, failed
    exit failed > 0
  }
' "${files[@]}"
