#!/usr/bin/env bash
# Builds the MP3 header parser natively with clang's libFuzzer, address and
# undefined-behaviour sanitizers and fuzzes it.
# Needs: clang, and libclang-rt-14-dev (or the matching compiler-rt).
# Usage: run_fuzzer.sh [seconds (default 600)] [work folder (default /tmp/zephlo-mp3-fuzz)]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../../.." && pwd)"
seconds="${1:-600}"
work="${2:-/tmp/zephlo-mp3-fuzz}"
mkdir -p "$work/corpus"
python3 "$here/make_corpus.py" "$work/seeds"
clang++ -std=c++17 -g -O1 -I"$root" \
  -fsanitize=fuzzer,address,undefined,integer -fno-sanitize-recover=all \
  "$here/mp3_header_fuzzer.cpp" "$root/media/mp3_header.cpp" -o "$work/mp3_header_fuzzer"
cd "$work"
./mp3_header_fuzzer -max_total_time="$seconds" -timeout=5 -max_len=16384 \
  -print_final_stats=1 corpus seeds
