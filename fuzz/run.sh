#!/usr/bin/env bash
# Runs every fuzzer of a fuzz build: "smoke" replays the seed corpora only,
# a number runs each fuzzer for that many seconds.
set -euo pipefail
build=$1
mode=${2:-smoke}
echo "no fuzzers yet ($build, $mode)"
