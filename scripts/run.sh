#!/usr/bin/env bash
# Installs what is missing, builds into build/ (the sizing program Zephrin and its updater Renovix
# side by side in build/bin) and starts the sizing program.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" "$root/build" -DZEPHRIN_BUILD_TESTS=OFF -DZEPHRIN_BUILD_BENCH=OFF
exec "$root/build/bin/Zephrin" "$@"
