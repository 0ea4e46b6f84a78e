#!/usr/bin/env bash
# Times vexa-rtf against the general-purpose converter `highlight -O rtf` on the
# same 1 MiB inputs and prints the ratio per syntax. Installs Debian's
# `highlight` package when it is missing.
#   bench/compare_rtf.sh [BUILD]     (default: build)
set -euo pipefail
build=${1:-build}
root=$(cd "$(dirname "$0")/.." && pwd)
data="$root/../shared/benchdata"
vexa_rtf="$build/bin/vexa-rtf"
bench="$build/bench/highlight_bench"
launcher="$build/bench/command_cpu"
for tool in "$vexa_rtf" "$bench" "$launcher"; do
  [ -x "$tool" ] || { echo "no $tool: build first" >&2; exit 1; }
done

if ! command -v highlight >/dev/null 2>&1; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends highlight >/dev/null
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# CPU time (user + system) of one run of a command, in milliseconds: the median
# over N runs, started by the project's launcher so that no shell's fork is
# counted. CPU time rather than wall time, so other work on the machine does
# not count against either tool.
cpu_ms() {
  "$launcher" "$@"
}

# syntax name | input | the other tool's language name
rows=(
  "HTML|$data/big.html|html"
  "XML|$data/big.xml|xml"
  "JAVA SCRIPT|$data/big.js|js"
  "PHP|$data/big.php|php"
  "DELPHI SCRIPT|$data/big.pas|pas"
  "SQL|$data/big.sql|sql"
  "VBSCRIPT||vb"
)

# What starting a process costs here, in both tools' figures alike.
printf 'vexa-rtf on an empty input: %s ms\n' "$(cpu_ms 20 "$vexa_rtf" /dev/null)"
printf '%-14s %9s %13s %15s %8s\n' syntax bytes "vexa-rtf cpu" "highlight cpu" ratio
for row in "${rows[@]}"; do
  IFS='|' read -r syntax input lang <<<"$row"
  # VBScript has no real file, nor has any syntax in a clone without the shared
  # inputs: the benchmark writes the input it uses itself.
  if [ -z "$input" ] || [ ! -f "$input" ]; then
    input="$work/sample"
    "$bench" --write-sample "$syntax" "$input" 2>/dev/null
  fi
  bytes=$(stat -c %s "$input")
  ours=$(cpu_ms 20 "$vexa_rtf" --syntax "$syntax" "$input")
  theirs=$(cpu_ms 3 highlight -O rtf --syntax="$lang" -i "$input")
  awk -v s="$syntax" -v b="$bytes" -v o="$ours" -v t="$theirs" 'BEGIN {
    printf "%-14s %9d %10.1f ms %12.1f ms %7.0fx\n", s, b, o, t, t / (o > 0 ? o : 0.001) }'
done
