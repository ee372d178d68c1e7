#!/usr/bin/env bash
# Installs every Debian package the build and the tests need that is not there yet, and the
# locales the tests switch to. Idempotent and quiet: does nothing when all is present.
set -euo pipefail

packages=(
  build-essential cmake ninja-build ccache pkg-config
  libwxgtk3.2-dev libsqlite3-dev sqlite3 libpq-dev libcurl4-openssl-dev libfontconfig-dev
  libtinyxml-dev zlib1g-dev libminizip-dev libmd-dev
  libcurl4 libpq5  # loaded at run time (dlopen), so no link step pulls them in
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth openbox x11-utils xdotool postgresql fonts-liberation2 qpdf poppler-utils mupdf-tools python3-pyftpdlib locales zip
  clang libclang-rt-14-dev
  gdb binutils
  cups-daemon cups-client  # a print server of the tests' own for printing without a dialog
  libcairo2-dev  # the PDF benchmark's comparison only
  libgtk-3-common  # GTK's own texts in German (gtk30.mo), which its dialogs show under a German program
)

as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)

# Captured rather than piped into grep -q, which may end the pipe early (SIGPIPE under pipefail).
missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [ "$status" = "install ok installed" ] || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  # Through env: sudo does not pass the caller's environment on.
  "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
  "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# German for its decimal comma, Turkish because there toupper('i') stays 'i': the tests show
# that machine text follows neither.
available=$(locale -a 2>/dev/null || true)
generate=()
for name in de_DE tr_TR; do
  grep -qix "$name\.utf-\?8" <<<"$available" || generate+=("$name")
done
if [ ${#generate[@]} -gt 0 ]; then
  for name in "${generate[@]}"; do
    "${as_root[@]}" sed -i "s/^# *$name\.UTF-8 UTF-8/$name.UTF-8 UTF-8/" /etc/locale.gen
    grep -q "^$name\.UTF-8 UTF-8" /etc/locale.gen || echo "$name.UTF-8 UTF-8" | "${as_root[@]}" tee -a /etc/locale.gen >/dev/null
  done
  "${as_root[@]}" locale-gen >/dev/null
fi
