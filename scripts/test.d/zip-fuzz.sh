#!/usr/bin/env bash
# Fuzzes the zip reader with libFuzzer for a bounded time (30 s unless given). A crash, a
# sanitizer report or a hang fails the run; the input that did it is kept in build-fuzz/.
# Usage: scripts/test.d/zip-fuzz.sh <repo root> [seconds]
set -euo pipefail
root=$(cd "$1" && pwd)
seconds=${2:-30}
out=$root/build-fuzz/zip
src=$root/Libraries/Renovix/RenovixLib
mkdir -p "$out/corpus"

# The few sources the reader needs, straight through clang: no second CMake tree.
clang++ -std=c++17 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
  -I"$root/Libraries" "$root/tests/fuzz/zip_reader_fuzz.cpp" \
  "$src/ZipArchive.cpp" "$src/ZipReader.cpp" "$src/ZipSource.cpp" "$root/Libraries/Platform/AtomicFile.cpp" \
  -lminizip -lz -o "$out/zip_reader_fuzz"

echo "Fuzzing the zip reader for $seconds s..."
if ! "$out/zip_reader_fuzz" -max_total_time="$seconds" -max_len=4096 -timeout=10 \
    -artifact_prefix="$out/" "$out/corpus" "$root/tests/fuzz/zip_corpus" >"$out/fuzz.log" 2>&1; then
  tail -n 60 "$out/fuzz.log"
  echo "Zip reader fuzzing found a problem; the input is in $out/"
  exit 1
fi
grep -E '^Done [0-9]+ runs' "$out/fuzz.log" || tail -n 3 "$out/fuzz.log"
