#!/usr/bin/env bash
# Runs every fuzz target built in BUILD_DIR/fuzz for SECONDS each, one after the other.
# New inputs go to BUILD_DIR/fuzz-corpus/<target> (the seeds in tests/data/fuzz/<target> stay as
# they are); a failing input is kept as BUILD_DIR/fuzz-artifacts/<target>/crash-... and ends the
# run with a failure.
set -euo pipefail
build_dir=${1:?usage: run-fuzzers.sh BUILD_DIR SECONDS}
seconds=${2:?usage: run-fuzzers.sh BUILD_DIR SECONDS}
source_dir=$(cd "$(dirname "$0")/.." && pwd)

status=0
for fuzzer in "$build_dir"/fuzz/*Fuzz; do
    [ -x "$fuzzer" ] || continue
    name=$(basename "$fuzzer")
    corpus="$build_dir/fuzz-corpus/$name"
    artifacts="$build_dir/fuzz-artifacts/$name"
    seeds="$source_dir/tests/data/fuzz/$name"
    mkdir -p "$corpus" "$artifacts"
    [ -d "$seeds" ] || seeds=""
    echo "== $name for ${seconds}s"
    if ! "$fuzzer" -max_total_time="$seconds" -print_final_stats=1 -max_len=8192 \
        -artifact_prefix="$artifacts/" "$corpus" $seeds; then
        echo "== $name FAILED: see $artifacts" >&2
        status=1
    fi
done
exit $status
