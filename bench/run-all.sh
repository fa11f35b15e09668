#!/usr/bin/env bash
# Runs every benchmark built into the given build directory and prints its figures.
set -euo pipefail
build=${1:-build}
for b in "$build"/bench/*/bench_*; do
  [ -x "$b" ] || continue
  echo "== $(basename "$b")"
  "$b"
done
