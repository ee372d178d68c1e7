#!/usr/bin/env bash
# Installs what is missing, builds into build/ and starts the sizing program.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" "$root/build" -DZEPHRIN_BUILD_TESTS=OFF -DZEPHRIN_BUILD_BENCH=OFF
if [ -x "$root/build/bin/Zephrin" ]; then
  exec "$root/build/bin/Zephrin" "$@"
fi
echo "Built the libraries into build/; the Zephrin program is not part of this build yet."
