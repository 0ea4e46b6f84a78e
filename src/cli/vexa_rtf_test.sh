#!/usr/bin/env bash
# Checks the command-line contract of vexa-rtf that scripts rely on: input from
# a file or standard input, the syntax names, the token dump format, and the
# exit statuses with their messages.
#   vexa_rtf_test.sh VEXA_RTF REFERENCE_DATA_DIR [sanitized]
set -uo pipefail
vexa_rtf=$1
data=$2
sanitized=${3:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# shellcheck source=../../tests/support/checks.sh
source "$(dirname "${BASH_SOURCE[0]}")/../../tests/support/checks.sh"

# Every reference document, through a file, standard input and "-".
for input in "$data"/*/*.in; do
  syntax=$(basename "$(dirname "$input")")
  expected="${input%.in}.rtf"
  check "file $input" cmp -s <("$vexa_rtf" --syntax "$syntax" "$input") "$expected"
done
html_case=$(ls "$data"/HTML/*.in | head -n 1)
check "standard input" cmp -s <("$vexa_rtf" <"$html_case") "${html_case%.in}.rtf"
check "dash" cmp -s <("$vexa_rtf" - <"$html_case") "${html_case%.in}.rtf"
# Names are exact and case-sensitive; anything else is HTML.
check "unknown syntax" cmp -s <("$vexa_rtf" --syntax xml "$html_case") "${html_case%.in}.rtf"

# The token dump: kind, tab, colour index, tab, text with bytes made visible.
printf '<b x=1>\\\t\001\351\r\n' >"$work/in"
printf 'Symbol\t7\t<\nTagName\t4\tb\nSpace\t5\t \nIdentifier\t3\tx\nSymbol\t7\t=\nValue\t10\t1\nSymbol\t7\t>\nText\t8\t\\\\\nSpace\t5\t\\t\\x01\nText\t8\t\\xE9\nSpace\t5\t\\r\\n\n' >"$work/want"
check "token dump" cmp -s <("$vexa_rtf" --tokens "$work/in") "$work/want"
check "empty token dump" test -z "$("$vexa_rtf" --tokens /dev/null)"

# A file that cannot be read: one line naming it, status 1.
"$vexa_rtf" "$work/missing.htm" >"$work/out" 2>"$work/err"
check "missing file status" test $? -eq 1
check "missing file message" grep -q "missing.htm" "$work/err"
check "missing file one line" test "$(wc -l <"$work/err")" -eq 1
check "missing file no output" test ! -s "$work/out"
"$vexa_rtf" "$work" >/dev/null 2>"$work/err"
check "folder status" test $? -eq 1

# Inputs beyond the program's limit of 2^31 - 1 bytes are refused by their
# size (a sparse file takes no room). An endless stream ends at the limit, or
# sooner where memory runs out: that end is checked here, as it costs no 2 GiB.
: >"$work/big.pas"
truncate -s 2147483648 "$work/big.pas"
"$vexa_rtf" --syntax "DELPHI SCRIPT" "$work/big.pas" >"$work/out" 2>"$work/err"
check "too large status" test $? -eq 1
check "too large message" grep -qx "vexa-rtf: $work/big.pas: too large (2147483648 bytes; at most 2147483647)" "$work/err"
check "too large no output" test ! -s "$work/out"
if [ "$sanitized" != sanitized ]; then
  # The sanitizers take memory their own way and report running out themselves.
  (ulimit -v 400000 && exec "$vexa_rtf" /dev/zero) >"$work/out" 2>"$work/err"
  check "out of memory status" test $? -eq 1
  check "out of memory message" grep -qx "vexa-rtf: out of memory" "$work/err"
fi

# Bad usage: status 2 with the usage on standard error; --help prints it.
for args in "--colour" "--syntax" "a b"; do
  # shellcheck disable=SC2086
  "$vexa_rtf" $args >"$work/out" 2>"$work/err"
  check "bad usage '$args' status" test $? -eq 2
  check "bad usage '$args' text" grep -q "usage: vexa-rtf" "$work/err"
done
"$vexa_rtf" --help >"$work/out" 2>"$work/err"
check "help status" test $? -eq 0
check "help text" grep -q "usage: vexa-rtf" "$work/out"

checks_done
