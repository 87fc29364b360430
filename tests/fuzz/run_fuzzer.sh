#!/usr/bin/env bash
# Runs one fuzzer for a bounded time: first over the committed seeds, then on what it derives
# from them. New inputs go to a scratch corpus, so the repository is left as it is; an input
# that fails is kept in the artifacts folder given.
set -euo pipefail
fuzzer=$1 seeds=$2 artifacts=$3 seconds=$4

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$artifacts"
"$fuzzer" -max_total_time="$seconds" -timeout=5 -print_final_stats=1 \
    -artifact_prefix="$artifacts/" "$scratch" "$seeds"
