#!/usr/bin/env bash
# Fuzzes report templates and html text mark-up with libFuzzer for a bounded time (60 s unless
# given). A crash, a sanitizer report, a hang, or a written template that does not read back
# fails the run; the input that did it is kept in build-fuzz/.
# Usage: scripts/test.d/report-fuzz.sh <repo root> [seconds]
set -euo pipefail
root=$(cd "$1" && pwd)
seconds=${2:-60}
out=$root/build-fuzz
mkdir -p "$out/report-corpus"

# The libraries' sources straight through clang: no second CMake tree.
clang++ -std=c++17 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
  -I"$root/Libraries" "$root/tests/fuzz/report_fuzz.cpp" \
  "$root"/Libraries/Pagewright/*.cpp "$root"/Libraries/Glyphora/*.cpp \
  "$root"/Libraries/Quillet/*.cpp "$root"/Libraries/Platform/*.cpp \
  -ltinyxml -o "$out/report_fuzz"

echo "Fuzzing report templates and mark-up for $seconds s..."
if ! "$out/report_fuzz" -max_total_time="$seconds" -max_len=8192 -timeout=10 \
    -dict="$root/tests/fuzz/report.dict" -artifact_prefix="$out/report-" \
    "$out/report-corpus" "$root/tests/fuzz/report_corpus" >"$out/report-fuzz.log" 2>&1; then
  tail -n 60 "$out/report-fuzz.log"
  echo "Report fuzzing found a problem; the input is in $out/"
  exit 1
fi
grep -E '^Done [0-9]+ runs' "$out/report-fuzz.log" || tail -n 3 "$out/report-fuzz.log"
