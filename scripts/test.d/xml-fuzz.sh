#!/usr/bin/env bash
# Fuzzes the XML loader with libFuzzer for a bounded time (60 s unless given). A crash, a
# sanitizer report, a hang, or a document nested deeper than the pre-scan measured fails
# the run; the input that did it is kept in build-fuzz/.
# Usage: scripts/test.d/xml-fuzz.sh <repo root> [seconds]
set -euo pipefail
root=$(cd "$1" && pwd)
seconds=${2:-60}
out=$root/build-fuzz
src=$root/Libraries/Platform
mkdir -p "$out/corpus"

# The few sources the loader needs, straight through clang: no second CMake tree.
clang++ -std=c++17 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
  -I"$root/Libraries" "$root/tests/fuzz/xml_loader_fuzz.cpp" \
  "$src/XmlFile.cpp" "$src/XmlPreScan.cpp" "$src/XmlNumbers.cpp" "$src/TextEncoding.cpp" \
  "$src/AtomicFile.cpp" "$src/NumberText.cpp" "$src/AsciiText.cpp" -ltinyxml -o "$out/xml_loader_fuzz"

echo "Fuzzing the XML loader for $seconds s..."
if ! "$out/xml_loader_fuzz" -max_total_time="$seconds" -max_len=8192 -timeout=10 \
    -dict="$root/tests/fuzz/xml.dict" -artifact_prefix="$out/" \
    "$out/corpus" "$root/tests/fuzz/xml_corpus" >"$out/fuzz.log" 2>&1; then
  tail -n 60 "$out/fuzz.log"
  echo "XML loader fuzzing found a problem; the input is in $out/"
  exit 1
fi
grep -E '^Done [0-9]+ runs' "$out/fuzz.log" || tail -n 3 "$out/fuzz.log"
