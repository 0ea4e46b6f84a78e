#!/usr/bin/env bash
# Runs every fuzzer of a fuzz build (BUILD/fuzz/*_fuzzer) over its seed corpus
# fuzz/corpus/<name without "_fuzzer">/.
#   fuzz/run.sh BUILD smoke    replays the seeds and a few hundred mutations each
#   fuzz/run.sh BUILD SECONDS  fuzzes each target for that many seconds
# New inputs go to BUILD/fuzz-work/<name>/, crashes to fuzz/artifacts/; the seed
# corpora change only by hand.
set -euo pipefail
build=$1
mode=${2:-smoke}
here=$(cd "$(dirname "$0")" && pwd)
artifacts="$here/artifacts"
mkdir -p "$artifacts"

shopt -s nullglob
fuzzers=("$build"/fuzz/*_fuzzer)
if [ ${#fuzzers[@]} -eq 0 ]; then
  echo "no fuzzers in $build/fuzz" >&2
  exit 1
fi

if [ "$mode" = smoke ]; then
  limits=(-runs=400)
elif [[ "$mode" =~ ^[0-9]+$ ]]; then
  limits=(-max_total_time="$mode")
else
  echo "usage: fuzz/run.sh BUILD smoke|SECONDS" >&2
  exit 2
fi

failed=0
for fuzzer in "${fuzzers[@]}"; do
  name=$(basename "$fuzzer")
  corpus="$here/corpus/${name%_fuzzer}"
  work="$build/fuzz-work/$name"
  mkdir -p "$corpus" "$work"
  log="$build/fuzz-work/$name.log"
  start=$(date +%s)
  # A target whose inputs take long (fuzz/<name>.smoke-runs) replays fewer in a smoke run.
  run_limits=("${limits[@]}")
  if [ "$mode" = smoke ] && [ -f "$here/$name.smoke-runs" ]; then
    run_limits=(-runs="$(cat "$here/$name.smoke-runs")")
  fi
  if "$fuzzer" "${run_limits[@]}" -max_len=4096 -seed=1 -print_final_stats=0 \
      -artifact_prefix="$artifacts/$name-" "$work" "$corpus" >"$log" 2>&1; then
    echo "fuzz $name: ok ($(( $(date +%s) - start )) s, $(ls "$corpus" | wc -l) seeds)"
  else
    echo "fuzz $name: FAILED, see $log and $artifacts/" >&2
    tail -n 30 "$log" >&2
    failed=1
  fi
done
exit $failed
