#!/bin/bash
# Runs the fuzz targets of a fuzz build folder.
#   fuzz/run.sh replay BUILD RUNS      every committed input once (seeds, the
#                                      corpus kept from earlier runs, the
#                                      broken files), then RUNS mutated inputs
#                                      per target from a scratch copy, with a
#                                      fixed seed: the same verdict and the same
#                                      counts on every machine and every run
#   fuzz/run.sh long BUILD SECONDS     SECONDS of fuzzing per target, growing
#                                      the corpus kept in BUILD/fuzz-corpus
# Limits on every input: 1 s, no single allocation over 256 MiB, 1 MiB long.
# The whole fuzzer process gets 2 GiB, so that the limit stops a fault of the
# code under test and never libFuzzer's own bookkeeping; the decoder's
# whole-process budget is held by the tests instead. A crash, leak, timeout or
# allocation beyond the limits fails the run and leaves the input in
# BUILD/fuzz-artifacts. Prints the executions of each target.
set -uo pipefail
mode=${1:?replay or long}
build=$(cd "${2:?build folder}" && pwd)
budget=${3:?runs (replay) or seconds (long) per target}
src=$(cd "$(dirname "$0")/.." && pwd)

# A small quarantine keeps the sanitizer's own memory well under the limit.
export ASAN_OPTIONS=quarantine_size_mb=32:malloc_context_size=10:detect_leaks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export QT_QPA_PLATFORM=offscreen
limits=(-timeout=1 -rss_limit_mb=2048 -malloc_limit_mb=256 -max_len=1048576)
artifacts=$build/fuzz-artifacts
mkdir -p "$artifacts"

# The broken files each target should also meet.
bad_inputs() {
  local pattern
  case $1 in
    fuzz_grib_message) pattern='*.grb' ;;
    fuzz_grib_file) pattern='*.gz' ;;
    fuzz_netcdf_classic) pattern='*.nc' ;;
    fuzz_countries) pattern='*.dat' ;;
    fuzz_gshhs) pattern='*.b' ;;
    fuzz_gpx) pattern='*.gpx' ;;
    *) return ;;
  esac
  find "$src/tests/data/bad" -name "$pattern" -size -1025k | sort
}

dictionary() {
  case $1 in
    fuzz_grib_*) echo "-dict=$src/fuzz/grib.dict" ;;
    fuzz_countries | fuzz_gshhs | fuzz_gpx) echo "-dict=$src/fuzz/overlay.dict" ;;
  esac
}

# A timeout on a machine shared with other work can be the machine's, not
# the input's: an input that reruns well inside the limit is reported and
# the session goes on; one that times out again fails the run.
confirm_timeouts() {
  local target=$1 log=$2 input
  grep -q "ERROR: libFuzzer: timeout" "$log" || return 1
  for input in "$artifacts"/timeout-*; do
    [ -e "$input" ] || continue
    if "$build/fuzz/$target" "${limits[@]}" -runs=3 "$input" > "$log.rerun" 2>&1; then
      echo "   $target: $(basename "$input") took over 1 s once but reruns in time (machine load); kept"
      mv "$input" "$artifacts/slow-once-$target-$(basename "$input")"
    else
      return 1
    fi
  done
  return 0
}

passed=0
failed=0
total=0
while read -r target; do
  [ -n "$target" ] || continue
  binary=$build/fuzz/$target
  seeds=$src/fuzz/corpus/$target
  log=$build/fuzz-$target.log
  runs=0
  ok=1
  if [ "$mode" = replay ]; then
    mapfile -t inputs < <(find "$seeds" -type f | sort; bad_inputs "$target")
    if ! "$binary" "${limits[@]}" "${inputs[@]}" > "$log" 2>&1; then
      echo "FAIL $target: a committed input fails (see $log)"
      grep -E "Running:|ERROR|SUMMARY|runtime error|mismatch" "$log" | tail -n 6
      failed=$((failed + 1))
      continue
    fi
    corpus=$(mktemp -d)
    cp "$seeds"/* "$corpus"/
    # A fixed seed and a fixed number of runs: the short run in make test
    # mutates the same way every time, so its verdict does not depend on
    # the speed of the machine, and a failure is one anybody can repeat.
    "$binary" "${limits[@]}" $(dictionary "$target") -seed=1 -runs="$budget" -print_final_stats=1 \
      -artifact_prefix="$artifacts/" "$corpus" > "$log" 2>&1
    rc=$?
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    runs=${runs:-0}
    if [ $rc -ne 0 ] && ! confirm_timeouts "$target" "$log"; then
      echo "FAIL $target: see $log; inputs in $artifacts"
      grep -E "ERROR|SUMMARY|runtime error|mismatch" "$log" | head -n 5
      ok=0
    fi
  else
    corpus=$build/fuzz-corpus/$target
    mkdir -p "$corpus"
    cp -n "$seeds"/* "$corpus"/
    deadline=$((SECONDS + budget))
    while [ $SECONDS -lt $deadline ]; do
      left=$((deadline - SECONDS))
      "$binary" "${limits[@]}" $(dictionary "$target") -max_total_time=$left -print_final_stats=1 \
        -artifact_prefix="$artifacts/" "$corpus" > "$log" 2>&1
      rc=$?
      n=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
      runs=$((runs + ${n:-0}))
      [ $rc -eq 0 ] && break
      confirm_timeouts "$target" "$log" && continue
      echo "FAIL $target: see $log; inputs in $artifacts"
      grep -E "ERROR|SUMMARY|runtime error|mismatch" "$log" | head -n 5
      ok=0
      break
    done
  fi
  [ "$mode" = replay ] && rm -rf "$corpus"
  total=$((total + runs))
  echo "   $target: $runs executions"
  if [ $ok -eq 1 ]; then passed=$((passed + 1)); else failed=$((failed + 1)); fi
done < "$build/fuzz-targets.txt"
echo "   all targets: $total executions"
echo "fuzz $mode"
echo "fuzz: $passed passed, $failed failed"
[ $failed -eq 0 ]
