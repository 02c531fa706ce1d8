#!/usr/bin/env bash
# Builds the libFuzzer targets with the host clang and runs each for a while.
# Usage: scripts/fuzz.sh [seconds per target, default 60]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
scripts/install-deps.sh fuzz
cmake -S . -B build/fuzz -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DQUILLORB_FUZZ=ON -DQUILLORB_TESTS=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined" >/dev/null
cmake --build build/fuzz -j"$(nproc)"
for target in build/fuzz/bin/*_fuzz; do
  name=$(basename "$target")
  corpus=build/fuzz/corpus/$name
  mkdir -p "$corpus"
  starts=fuzz/inputs/${name%_fuzz}
  echo "== $name (${seconds}s)"
  if [ -d "$starts" ]; then
    "$target" -max_total_time="$seconds" -max_len=65536 "$corpus" "$starts"
  else
    "$target" -max_total_time="$seconds" -max_len=65536 "$corpus"
  fi
done
