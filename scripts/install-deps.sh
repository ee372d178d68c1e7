#!/usr/bin/env bash
# Installs every Debian package the build and the tests need that is not there yet.
# Idempotent and quiet: does nothing when all packages are present.
set -euo pipefail

packages=(
  build-essential cmake ninja-build ccache pkg-config
  libwxgtk3.2-dev libsqlite3-dev sqlite3 libpq-dev libcurl4-openssl-dev libfontconfig-dev
  libtinyxml-dev zlib1g-dev libminizip-dev libmd-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth postgresql fonts-liberation2 qpdf poppler-utils python3-pyftpdlib locales
  clang libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# German locale for the locale-independence tests.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO sed -i 's/^# *de_DE.UTF-8 UTF-8/de_DE.UTF-8 UTF-8/' /etc/locale.gen
  grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen || echo 'de_DE.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
  $SUDO locale-gen >/dev/null
fi
