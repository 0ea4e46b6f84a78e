#!/usr/bin/env bash
# Runs every benchmark of a build and prints its figures.
set -euo pipefail
build=$1
echo "no benchmarks yet ($build)"
