#!/usr/bin/env bash
# Runs the benchmarks of a build and prints their figures and ratios.
#
#   bench/run-benchmarks.sh [BUILD_DIR] [benchmark flags...]
#
# BUILD_DIR defaults to build-release. The benchmark files are written in BUILD_DIR, on the disk
# the project lives on, so that the durable writes cost what they cost there.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-$root/build-release}
(($# > 0)) && shift

bench=$build/bin/txini_bench
if [[ ! -x $bench ]]; then
    echo "run-benchmarks: $bench not built (make bench builds it)" >&2
    exit 1
fi

work=$(mktemp -d "$build/bench-files.XXXXXX")
trap 'rm -rf "$work"' EXIT

echo "== INI store (txini) =="
TXINI_BENCH_DIR=$work "$bench" "$@"
