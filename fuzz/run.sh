#!/usr/bin/env bash
# Runs fuzz targets: fuzz/run.sh <build folder> <seconds>|ci [target...] (default: every target).
# A run for some seconds starts each target from its committed seeds (fuzz/corpus/<target>) and
# from what earlier runs kept in <build folder>/corpus/<target>, and keeps what it finds there;
# with FUZZ_SEED set, the mutations start from that seed. A crash, leak, hang or huge allocation
# ends the script with an error and leaves the input in <build folder>/artifacts/.
# "ci" is the test script's short run: a fixed number of inputs per target (some 10-15 s each on
# the 2-core build machine) from seed 1 and the committed seeds alone (its finds go to an emptied
# <build folder>/corpus-ci/), so its depth does not depend on the machine's load, as a run for a
# time's does.
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
declare -A ci_runs=([hyperfile]=300000 [document]=50000 [setfile]=80000 [obj]=150000 [mesh]=6000 [session]=15000
  [dialog_resource]=100000)
for t in "${targets[@]}"; do
  log="$build/artifacts/$t.log"
  if [ "$seconds" = ci ]; then
    [ -n "${ci_runs[$t]:-}" ] || { echo "no CI run count for fuzz target $t" >&2; exit 1; }
    length=(-runs="${ci_runs[$t]}" -seed=1)
    # What earlier runs found would change the start; these runs begin from the seeds alone.
    kept="$build/corpus-ci/$t"
    rm -rf "$kept"
    echo "fuzzing $t for ${ci_runs[$t]} inputs"
  else
    length=(-max_total_time="$seconds" "${seed[@]}")
    kept="$build/corpus/$t"
    echo "fuzzing $t for ${seconds}s"
  fi
  mkdir -p "$kept"
  if ! "$build/bin/${t}_fuzz" "${length[@]}" -timeout=10 -rss_limit_mb=2048 -malloc_limit_mb=512 \
      -print_final_stats=1 -artifact_prefix="$build/artifacts/$t-" "$kept" "fuzz/corpus/$t" >"$log" 2>&1; then
    tail -n 60 "$log"
    echo "fuzz target $t failed; the input is in $build/artifacts/" >&2
    exit 1
  fi
  # The last status line (runs, coverage) and the speed.
  grep -E '^#[0-9]+' "$log" | tail -n 1
  grep -E 'stat::number_of_executed_units|stat::average_exec_per_sec' "$log" | tr '\n' ' '
  echo
done
