#!/usr/bin/env bash
# Builds the fuzz targets natively (clang's libFuzzer with the address and
# undefined-behaviour sanitizers, tests/fuzz) and runs each from its seeds.
#
# Usage: fuzz.sh [--seconds N] [target...]
#   --seconds N  how long each target runs (default 6: the smoke of a test run)
#   target       m3u settings key_file colours command_line history mp3_header
#                (default: all)
#
# The inputs each target finds are kept in $ZEPHLO_BUILD/fuzz/corpus/<target>
# and used again by the next run. A crash or a broken invariant leaves the
# input as $ZEPHLO_BUILD/fuzz/crash-* and fails the run.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${ZEPHLO_BUILD:-$root/build}/fuzz"
seconds=6
targets=()
while (($#)); do
  case "$1" in
    --seconds) seconds="$2"; shift 2 ;;
    *) targets+=("$1"); shift ;;
  esac
done
if ((${#targets[@]} == 0)); then
  targets=(m3u settings key_file colours command_line history mp3_header)
fi

cmake -S "$root/tests/fuzz" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$build" --parallel 2 -- $(printf '%s_fuzzer ' "${targets[@]}") >/dev/null

failed=0
for target in "${targets[@]}"; do
  seeds="$root/tests/fuzz/seeds/$target"
  if [[ "$target" == mp3_header ]]; then
    seeds="$build/seeds/mp3_header"
    python3 "$root/tests/media/fuzz/make_corpus.py" "$seeds"
  fi
  corpus="$build/corpus/$target"
  mkdir -p "$corpus"
  log="$build/$target.log"
  if (cd "$build" && "./${target}_fuzzer" -max_total_time="$seconds" -timeout=10 \
      -max_len=8192 -print_final_stats=1 "$corpus" "$seeds" >"$log" 2>&1); then
    runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")"
    echo "fuzz: $target: ${runs:-?} inputs in ${seconds} s, corpus $(ls "$corpus" | wc -l), no finding"
  else
    echo "fuzz: $target: FINDING (see $log)" >&2
    grep -E 'invariant broken|runtime error|ERROR:|Test unit written' "$log" >&2 || tail -20 "$log" >&2
    failed=1
  fi
done
exit "$failed"
