#!/usr/bin/env bash
# Fuzzes the readers of files from outside with libFuzzer for a bounded time each (the XML
# loader, the skin bitmap reader, the zip reader, report templates and their mark-up, the font
# readers, project files; the times below unless a time is given). A crash, a sanitizer report,
# a hang or a finding of the target's own fails the run; the input that did it is kept in
# build-fuzz/<target>/. The times keep CI short; a longer run by hand gives a time for every target.
# Usage: scripts/test.d/fuzz.sh <repo root> [seconds]
set -euo pipefail
root=$(cd "$1" && pwd)
seconds=${2:-}
platform=$root/Libraries/Platform

# fuzz <target> <seconds> <max input length> <what> <seed corpus> <extra libFuzzer options> -- <sources and libraries>
# The few sources a reader needs, straight through clang: no second CMake tree. The targets are
# built and fuzzed side by side, so the run takes about as long as the longest of them.
pids=()
fuzz() {
  fuzz_target "$@" &
  pids+=($!)
}

fuzz_target() {
  local target=$1 time=${seconds:-$2} maxlen=$3 what=$4 seeds=$5 options=$6
  shift 7
  local out=$root/build-fuzz/$target
  # Earlier versions of this script kept the fuzzer binary itself under this name.
  [ -d "$out" ] || rm -f "$out"
  mkdir -p "$out/corpus"
  clang++ -std=c++17 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
    -I"$root/Libraries" -I"$root/Libraries/Harbinax" "$root/tests/fuzz/$target.cpp" "$@" -o "$out/$target"
  echo "Fuzzing the $what for $time s..."
  # New inputs go to the first folder, so the seeds in the repository stay as they are.
  # shellcheck disable=SC2086
  if ! "$out/$target" -max_total_time="$time" -max_len="$maxlen" -timeout=10 $options \
      -artifact_prefix="$out/" "$out/corpus" "$seeds" >"$out/fuzz.log" 2>&1; then
    tail -n 60 "$out/fuzz.log"
    echo "Fuzzing the $what found a problem; the input is in $out/"
    exit 1
  fi
  echo "$what: $(grep -E '^Done [0-9]+ runs' "$out/fuzz.log" || tail -n 3 "$out/fuzz.log")"
}

fuzz xml_loader_fuzz 30 8192 "XML loader" "$root/tests/fuzz/xml_corpus" "-dict=$root/tests/fuzz/xml.dict" -- \
  "$platform/XmlFile.cpp" "$platform/XmlPreScan.cpp" "$platform/XmlNumbers.cpp" "$platform/TextEncoding.cpp" \
  "$platform/AtomicFile.cpp" "$platform/NumberText.cpp" "$platform/AsciiText.cpp" -ltinyxml
fuzz skin_bitmap_fuzz 10 4096 "skin bitmap reader" "$root/tests/fuzz/bmp_corpus" "" -- \
  "$root/Libraries/Harbinax/HarbinaxCore/SkinBitmap.cpp"
fuzz zip_reader_fuzz 15 4096 "zip reader" "$root/tests/fuzz/zip_corpus" "" -- \
  "$root"/Libraries/Renovix/RenovixLib/Zip{Archive,Reader,Source}.cpp "$platform"/{AtomicFile,WholeFile}.cpp -lminizip -lz
# A written template that does not read back counts as a finding of the target's own.
fuzz report_fuzz 15 8192 "report templates and mark-up" "$root/tests/fuzz/report_corpus" \
  "-dict=$root/tests/fuzz/report.dict" -- \
  "$root"/Libraries/Pagewright/*.cpp "$root"/Libraries/Glyphora/*.cpp "$root"/Libraries/Quillet/*.cpp \
  "$platform"/*.cpp -ltinyxml -lz -lfontconfig
fuzz font_metrics_fuzz 10 4096 "font readers" "$root/tests/fuzz/font_corpus" "" -- \
  "$root"/Libraries/Pagewright/{FontMetrics,TrueTypeFontMetrics,AfmFontMetrics,PfmFontMetrics,FontFinder,GlyphNames}.cpp \
  "$platform/TextEncoding.cpp" "$platform/AsciiText.cpp" "$platform/WholeFile.cpp" -lfontconfig
# A refused project file that changes the project, or a read one that does not save and read
# back alike, counts as a finding of the target's own.
fuzz project_file_fuzz 10 8192 "project file reader" "$root/tests/fuzz/project_corpus" \
  "-dict=$root/tests/fuzz/project.dict" -- \
  "$root"/SourceCode/CommonFiles/{,Fluids/,TAMBELCalculator/}*.cpp "$root"/Libraries/{Oddments,Polyglotta,Quillet}/*.cpp \
  "$platform"/*.cpp -I"$root/SourceCode" -I/usr/include/postgresql -ltinyxml -lsqlite3

failed=0
for pid in "${pids[@]}"; do
  wait "$pid" || failed=1
done
exit "$failed"
