#!/usr/bin/env bash
# Runs every benchmark of a build (BUILD/bin/*_bench) and prints its figures.
# Extra arguments go to each benchmark (for example --benchmark_filter=HTML).
set -euo pipefail
build=$1
shift
# Benchmarks of windows run headless, as the tests do.
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
export QTWEBENGINE_DISABLE_SANDBOX=${QTWEBENGINE_DISABLE_SANDBOX:-1}
shopt -s nullglob
benches=("$build"/bin/*_bench)
if [ ${#benches[@]} -eq 0 ]; then
  echo "no benchmarks in $build/bin (is libbenchmark-dev installed?)" >&2
  exit 1
fi
for bench in "${benches[@]}"; do
  echo "== $(basename "$bench")"
  # The median of three runs: a busy machine disturbs single runs.
  "$bench" --benchmark_min_time=0.5 --benchmark_repetitions=3 \
    --benchmark_report_aggregates_only=true "$@"
done
