#!/usr/bin/env bash
# Runs every benchmark of a build (BUILD/bench/*_bench) and prints its figures.
# Their inputs are the files of ../shared/benchdata/ beside the repository; without
# that folder they run on generated inputs of the same size (and say so).
# Extra arguments go to each benchmark (for example --benchmark_filter=HTML).
set -euo pipefail
build=$1
shift
# Benchmarks of windows run headless, as the tests do.
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
export QTWEBENGINE_DISABLE_SANDBOX=${QTWEBENGINE_DISABLE_SANDBOX:-1}
shopt -s nullglob
benches=("$build"/bench/*_bench)
if [ ${#benches[@]} -eq 0 ]; then
  echo "no benchmarks in $build/bench (is libbenchmark-dev installed?)" >&2
  exit 1
fi
for bench in "${benches[@]}"; do
  echo "== $(basename "$bench")"
  # The median of three runs: a busy machine disturbs single runs.
  "$bench" --benchmark_min_time=0.5 --benchmark_repetitions=3 \
    --benchmark_report_aggregates_only=true "$@"
done

# Typing in the middle again on an X display, with no accessibility bus and
# then with one a screen reader would use (tests/support/accessibility-bus.sh):
# the figures with assistive programs listening, and the same platform's
# without them beside.
keystroke=$build/bench/keystroke_bench
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
if [ -x "$keystroke" ] && command -v xvfb-run >/dev/null && command -v dbus-run-session >/dev/null; then
  echo "== keystroke_bench on X, accessibility off"
  xvfb-run -a -s "-screen 0 1280x800x24 -nolisten tcp -noreset" \
    env QT_QPA_PLATFORM=xcb "$keystroke" --only=middle --steady-seconds=0 "$@"
  echo "== keystroke_bench on X, accessibility on"
  xvfb-run -a -s "-screen 0 1280x800x24 -nolisten tcp -noreset" \
    "$here/../tests/support/accessibility-bus.sh" "$keystroke" --only=middle --steady-seconds=0 "$@"
fi
