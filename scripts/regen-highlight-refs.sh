#!/usr/bin/env bash
# Rewrites the expected RTF of the highlighter reference cases from the current
# build: tests/data/highlight/<SYNTAX>/<case>.in -> <case>.rtf. Run it only when a
# change of output is intended, and review the diff before committing.
#   scripts/regen-highlight-refs.sh [BUILD] [SYNTAX...]   (default: build, every syntax)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-build}
shift || true
vexa_rtf="$build/bin/vexa-rtf"
[ -x "$vexa_rtf" ] || { echo "no $vexa_rtf: build first" >&2; exit 1; }

folders=()
if [ $# -gt 0 ]; then
  for syntax in "$@"; do folders+=("$root/tests/data/highlight/$syntax"); done
else
  for folder in "$root"/tests/data/highlight/*/; do folders+=("${folder%/}"); done
fi

for folder in "${folders[@]}"; do
  syntax=$(basename "$folder")
  for input in "$folder"/*.in; do
    [ -e "$input" ] || continue
    "$vexa_rtf" --syntax "$syntax" "$input" >"${input%.in}.rtf"
    echo "$syntax/$(basename "${input%.in}").rtf"
  done
done
