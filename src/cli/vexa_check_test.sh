#!/usr/bin/env bash
# Checks the command-line contract of vexa-check that editors and CI systems
# rely on: the compiler-style lines (lines and columns from 1), the summary,
# the exit statuses, and the test site's whole report.
#   vexa_check_test.sh VEXA_CHECK TEST_SITE_DIR
set -uo pipefail
vexa_check=$(realpath "$1")
site=$(realpath "$2")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# shellcheck source=../../tests/support/checks.sh
source "$(dirname "${BASH_SOURCE[0]}")/../../tests/support/checks.sh"

# The test site: every planted problem and nothing else, in the order of the
# report beside it.
(cd "$(dirname "$site")" && "$vexa_check" --site "$(basename "$site")") >"$work/out" 2>"$work/err"
check "site status" test $? -eq 1
check "site report" diff -u "$site-report.txt" "$work/out"
check "site quiet on standard error" test ! -s "$work/err"
# The check writes nothing into the site.
(cd "$site" && find . -printf '%p %s %T@\n' | sort) >"$work/before"
"$vexa_check" --site "$site/" >/dev/null 2>&1
(cd "$site" && find . -printf '%p %s %T@\n' | sort) >"$work/after"
check "site left as it was" cmp -s "$work/before" "$work/after"

# Pages: a clean one, one with an error, XML, a PHP page whose blocks stay
# out of the check.
printf '<!DOCTYPE html>\n<html><head><title>t</title></head><body><p>ok</p></body></html>\n' \
  >"$work/clean.htm"
"$vexa_check" "$work/clean.htm" >"$work/out" 2>&1
check "clean status" test $? -eq 0
check "clean summary" grep -qx "vexa-check: 1 file checked: 0 errors, 0 warnings" "$work/out"
printf '<!DOCTYPE html>\n<html><head><title>t</title></head>\n<body>\n\t<p>\xc3\xa9 <foo>x</foo></p></body></html>\n' \
  >"$work/bad.html"
"$vexa_check" "$work/bad.html" >"$work/out" 2>&1
check "error status" test $? -eq 1
# Line 4, column 7: after a tab, "<p>", an e acute and a blank, each one column.
check "error line" grep -qx "$work/bad.html:4:7: error: <foo> is not recognized!" "$work/out"
printf '<?xml version="1.0"?>\n<a>\n  <b></c>\n</a>\n' >"$work/bad.xml"
"$vexa_check" "$work/bad.xml" >"$work/out" 2>&1
check "xml status" test $? -eq 1
check "xml line" grep -q "^$work/bad.xml:3:6: error: Opening and ending tag mismatch" "$work/out"
printf '<?xml version="1.0"?>\n<a><b/></a>\n' >"$work/good.xml"
"$vexa_check" "$work/good.xml" >/dev/null 2>&1
check "good xml" test $? -eq 0
printf '<!DOCTYPE html>\n<html><head><title>t</title></head><body>\n<a href="<?php echo $u ?>">u</a><div <?php echo $c ?>>d</div>\n</body></html>\n' \
  >"$work/page.php"
"$vexa_check" "$work/page.php" >"$work/out" 2>&1
check "php status" test $? -eq 0
check "php blocks left out" grep -qx "vexa-check: 1 file checked: 0 errors, 0 warnings" "$work/out"

# What is not a page, or cannot be read.
printf 'body {}\n' >"$work/style.css"
"$vexa_check" "$work/style.css" >"$work/out" 2>&1
check "not a page status" test $? -eq 0
check "not a page note" grep -qx "$work/style.css: note: not checked: not an HTML, PHP, ASP or XML file" "$work/out"
"$vexa_check" "$work/missing.htm" >"$work/out" 2>&1
check "missing status" test $? -eq 1
check "missing line" grep -qx "$work/missing.htm: error: cannot read: No such file or directory" "$work/out"
"$vexa_check" "$work" >"$work/out" 2>&1
check "folder status" test $? -eq 1
check "folder line" grep -qx "$work: error: a folder: check a site with --site" "$work/out"
"$vexa_check" --site "$work/clean.htm" >"$work/out" 2>&1
check "site of a file status" test $? -eq 1
check "site of a file line" grep -qx "$work/clean.htm: error: cannot read the site folder: not a folder" "$work/out"
printf 'GIF89a\0\0\0' >"$work/image.htm"
"$vexa_check" "$work/image.htm" >"$work/out" 2>&1
check "binary status" test $? -eq 0
check "binary line" grep -qx "$work/image.htm: warning: not checked: a binary file" "$work/out"
: >"$work/big.htm"
truncate -s 2147483648 "$work/big.htm"
"$vexa_check" "$work/big.htm" >"$work/out" 2>&1
check "too large status" test $? -eq 0
check "too large line" grep -qx "$work/big.htm: warning: not checked: larger than 2147483647 bytes" "$work/out"
rm -f "$work/big.htm"

# A name with a line break stays on its one line.
name=$'two\nlines.htm'
printf '<foo>\n' >"$work/$name"
"$vexa_check" "$work/$name" >"$work/out" 2>&1
check "line break in a name" grep -q "^$work/two\\\\nlines.htm:1:1: error: <foo> is not recognized!\$" "$work/out"
# "--" ends the options.
printf '<p>x</p>\n' >"$work/-dash.htm"
(cd "$work" && "$vexa_check" -- -dash.htm) >"$work/out" 2>&1
check "after --" grep -q -e "^-dash.htm:1:1: warning:" "$work/out"

# Bad usage: status 2 with the usage on standard error; --help prints it.
for args in "" "--colour x.htm" "-s x.htm"; do
  # shellcheck disable=SC2086
  "$vexa_check" $args >"$work/out" 2>"$work/err"
  check "bad usage '$args' status" test $? -eq 2
  check "bad usage '$args' text" grep -q "usage: vexa-check" "$work/err"
  check "bad usage '$args' no output" test ! -s "$work/out"
done
"$vexa_check" --help >"$work/out" 2>"$work/err"
check "help status" test $? -eq 0
check "help text" grep -q "usage: vexa-check" "$work/out"

checks_done
