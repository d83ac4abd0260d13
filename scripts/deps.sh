#!/usr/bin/env bash
# Installs what Tablescope needs to build, run and test, from Debian packages.
# Safe to run again: apt-get only adds what is missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins fonts-dejavu-core libgl-dev
  libsqlite3-dev libssl-dev zlib1g-dev
  libgtest-dev libgmock-dev
)
if [ "${1:-}" = "--test" ]; then
  # Test oracles and tools: mdbtools and the npm reader for the differential
  # tests, xz for the benchmark database, desktop and MIME validators, groff
  # and file for checking the installed manual and icons, clang-format for
  # the formatting check.
  packages+=(mdbtools nodejs npm xz-utils sqlite3 desktop-file-utils libxml2-utils
    shared-mime-info groff-base file clang-format)
  # clang with libFuzzer and AddressSanitizer for the fuzz targets (scripts/fuzz.sh).
  packages+=(clang libclang-rt-dev)
fi

missing=()
for p in "${packages[@]}"; do
  # A Node.js build that bundles npm (and conflicts with Debian's npm) will do.
  if [ "$p" = npm ] && command -v npm >/dev/null; then continue; fi
  if [ "$p" = nodejs ] && command -v node >/dev/null; then continue; fi
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
