#!/usr/bin/env bash
# Runs every fuzz target (tests/fuzz) under libFuzzer with ASan and UBSan, one
# after another, each for SECONDS, then prints per target the executions, the
# executions per second and the findings. Each run starts from a fresh copy of
# the seed corpus (build/fuzz/run/corpus/<target>, which keeps what it
# found interesting); every finding (crash, hang, leak or broken invariant)
# is kept as build/fuzz/findings/<target>-<kind>-<hash>. Exit status 1 when
# anything was found.
#
# Usage: bench/fuzz.sh [seconds] [target...]   (default 60 seconds, every target)
# Replay a finding: build/fuzz/fuzz/<target>_fuzz build/fuzz/findings/<file>
set -euo pipefail
seconds=${1:-60}
shift || true
cd "$(dirname "$0")/.."
command -v clang++ >/dev/null || { echo "clang++ is missing (scripts/install-deps.sh)" >&2; exit 1; }

cmake --preset fuzz >/dev/null
nice -n 10 cmake --build --preset fuzz -j2 >/dev/null

bin=build/fuzz/fuzz
run=build/fuzz/run
findings=build/fuzz/findings
rm -rf "$run"
mkdir -p "$run/corpus" "$findings"

# The longest input each target takes: room for two profiles in the profile
# store, a few bytes either side of a record for the files.
max_len() {
  case $1 in
    profile_file) echo 165100 ;;
    profile_store) echo 330200 ;;
    macro_file) echo 512 ;;
    *) echo 8192 ;;
  esac
}

if [ $# -gt 0 ]; then
  targets=("$@")
else
  targets=()
  for program in "$bin"/*_fuzz; do
    name=$(basename "$program")
    targets+=("${name%_fuzz}")
  done
fi

rows=()
found_any=0
for target in "${targets[@]}"; do
  corpus="$run/corpus/$target"
  cp -r "tests/fuzz/corpus/$target" "$corpus"
  started="$run/$target.started"
  touch "$started"
  log="$run/$target.log"
  echo "fuzzing $target for ${seconds}s ..." >&2
  status=0
  nice -n 10 "$bin/${target}_fuzz" "$corpus" -max_total_time="$seconds" -max_len="$(max_len "$target")" \
    -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$findings/$target-" >"$log" 2>&1 || status=$?
  executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  per_second=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
  found=$(find "$findings" -name "$target-*" -newer "$started" | wc -l)
  if [ "$status" -ne 0 ] && [ "$found" -eq 0 ]; then found=1; fi  # stopped without an artifact
  [ "$found" -gt 0 ] && found_any=1
  rows+=("$(printf '%-16s %12s %10s %9s' "$target" "${executions:-?}" "${per_second:-?}" "$found")")
done

printf '%-16s %12s %10s %9s\n' target executions exec/s findings
printf '%s\n' "${rows[@]}"
if [ "$found_any" -ne 0 ]; then
  echo "findings in $findings; logs in $run" >&2
  exit 1
fi
