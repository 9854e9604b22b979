#!/usr/bin/env bash
# Runs the fuzzer for FUZZ_SECONDS (30 by default) on the committed seeds; what it
# discovers goes to the build's own corpus, and a crash leaves its input in the build.
#   run_fuzzer.sh FUZZER WORK_CORPUS SEED_CORPUS
set -euo pipefail
fuzzer=$1
work=$2
seeds=$3
mkdir -p "$work"
cd "$(dirname "$work")"
"$fuzzer" -max_total_time="${FUZZ_SECONDS:-30}" -timeout=10 -print_final_stats=1 \
    "$work" "$seeds" 2>&1 | grep -E 'INFO: Seed|Done|stat::number_of_executed_units|ERROR|invariant|SUMMARY|crash-|#[0-9]+\s+DONE' || true
exit "${PIPESTATUS[0]}"
