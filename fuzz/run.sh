#!/usr/bin/env bash
# Runs fuzz targets for a while each: fuzz/run.sh <build folder> <seconds> [target...]
# (default: every target). Each starts from its committed seeds (fuzz/corpus/<target>) and keeps
# what it finds in <build folder>/corpus/<target>; a crash, leak, hang or huge allocation ends the
# script with an error and leaves the input in <build folder>/artifacts/. With FUZZ_SEED set, every
# target starts its mutations from that seed, so a run on the same machine explores the same inputs.
set -euo pipefail
cd "$(dirname "$0")/.."
build=$1
seconds=$2
shift 2
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(hyperfile document setfile obj mesh session dialog_resource)

mkdir -p "$build/artifacts"
seed=()
[ -z "${FUZZ_SEED:-}" ] || seed=(-seed="$FUZZ_SEED")
for t in "${targets[@]}"; do
  mkdir -p "$build/corpus/$t"
  log="$build/artifacts/$t.log"
  echo "fuzzing $t for ${seconds}s"
  if ! "$build/bin/${t}_fuzz" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -malloc_limit_mb=512 \
      -print_final_stats=1 "${seed[@]}" -artifact_prefix="$build/artifacts/$t-" "$build/corpus/$t" "fuzz/corpus/$t" >"$log" 2>&1; then
    tail -n 60 "$log"
    echo "fuzz target $t failed; the input is in $build/artifacts/" >&2
    exit 1
  fi
  # The last status line (runs, coverage) and the speed.
  grep -E '^#[0-9]+' "$log" | tail -n 1
  grep -E 'stat::number_of_executed_units|stat::average_exec_per_sec' "$log" | tr '\n' ' '
  echo
done
