#!/usr/bin/env bash
# Runs a libFuzzer target for a bounded time from a fresh corpus seeded with fixture files.
#
#   run-fuzzer.sh FUZZER SEED_DIR ARTIFACT_DIR [SECONDS] [extra libFuzzer flags...]
#
# New inputs go to a temporary corpus that is removed afterwards; an input that makes the
# target fail is kept in ARTIFACT_DIR (crash-*, leak-*, timeout-*) to be replayed with
# "FUZZER ARTIFACT_DIR/crash-...". The exit code is the fuzzer's: 0 when nothing was found.
set -euo pipefail

if (($# < 3)); then
    echo "usage: $0 FUZZER SEED_DIR ARTIFACT_DIR [SECONDS] [flags...]" >&2
    exit 2
fi
fuzzer=$1
seeds=$2
artifacts=$3
seconds=${4:-20}
shift $(($# < 4 ? 3 : 4))

corpus=$(mktemp -d "${TMPDIR:-/tmp}/txini-corpus.XXXXXX")
trap 'rm -rf "$corpus"' EXIT
mkdir -p "$artifacts"

# The first folder receives new inputs; the seed folder is only read.
"$fuzzer" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$artifacts/" "$@" "$corpus" "$seeds"
