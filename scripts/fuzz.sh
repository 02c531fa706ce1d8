#!/usr/bin/env bash
# Builds the libFuzzer targets with the host clang and runs each for a while.
# Usage: scripts/fuzz.sh [seconds per target, default 60] [target names...]
# FUZZ_RUNS=N runs each target for N executions instead of a time; FUZZ_MAX_LEN caps an input
# (default 65536). FUZZ_LONG=1 builds for a long run of millions of executions: UndefinedBehavior-
# Sanitizer only and no tracing of comparisons (together about four times the speed), in a tree
# of its own that shares the corpus.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
scripts/install-deps.sh fuzz
tree=build/fuzz sanitizers=address,undefined flags=
if [ -n "${FUZZ_LONG:-}" ]; then
  tree=build/fuzz-long sanitizers=undefined flags=-fno-sanitize-coverage=trace-cmp
fi
cmake -S . -B "$tree" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DQUILLORB_FUZZ=ON -DQUILLORB_TESTS=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DQUILLORB_FUZZ_SANITIZERS="$sanitizers" -DCMAKE_CXX_FLAGS="-fsanitize=$sanitizers $flags" >/dev/null
cmake --build "$tree" -j"$(nproc)"
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=("$tree"/bin/*_fuzz)
for target in "${targets[@]}"; do
  name=$(basename "$target")
  target=$tree/bin/$name
  corpus=build/fuzz/corpus/$name
  mkdir -p "$corpus"
  starts=fuzz/inputs/${name%_fuzz}
  limit=(-max_total_time="$seconds")
  [ -z "${FUZZ_RUNS:-}" ] || limit=(-runs="$FUZZ_RUNS")
  echo "== $name (${FUZZ_RUNS:-${seconds}s} ${FUZZ_RUNS:+runs})"
  if [ -d "$starts" ]; then
    "$target" "${limit[@]}" -max_len="${FUZZ_MAX_LEN:-65536}" -print_final_stats=1 "$corpus" "$starts"
  else
    "$target" "${limit[@]}" -max_len="${FUZZ_MAX_LEN:-65536}" -print_final_stats=1 "$corpus"
  fi
done
