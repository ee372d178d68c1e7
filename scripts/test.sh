#!/usr/bin/env bash
# Installs what is missing, builds and runs every test: the normal tree with all labels
# (each GUI test program on an Xvfb display of its own, the end-to-end roads of label e2e among
# them, each with a window manager), then a sanitizer tree with every test
# but the GUI ones.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"

jobs=$(nproc)
run_ctest() { # <build-dir> <ctest arguments...>
  local dir=$1; shift
  (cd "$dir" && ctest --output-on-failure --no-tests=error --parallel "$jobs" "$@")
}

# On, whatever scripts/run.sh left in the tree's cache.
"$root/scripts/build.sh" "$root/build" -DZEPHRIN_BUILD_TESTS=ON -DZEPHRIN_BUILD_BENCH=ON -DZEPHRIN_BUILD_GUI_TESTS=ON
run_ctest "$root/build" -LE gui
# Listed first, so a ctest that fails here stops the run instead of skipping the GUI tests.
gui_tests=$(cd "$root/build" && ctest -N -L gui)
if grep -qE '^ *Test +#' <<<"$gui_tests"; then
  run_ctest "$root/build" -L gui
fi

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
"$root/scripts/build.sh" "$root/build-asan" -DZEPHRIN_SANITIZE=ON -DZEPHRIN_BUILD_BENCH=OFF -DZEPHRIN_BUILD_GUI_TESTS=OFF
run_ctest "$root/build-asan" -LE gui

for extra in "$root"/scripts/test.d/*.sh; do
  [ -e "$extra" ] && bash "$extra" "$root"
done
echo "All test runs passed."
