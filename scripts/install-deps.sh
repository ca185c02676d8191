#!/usr/bin/env bash
# Installs the Debian packages the build, the program and the tests need, when missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build ccache pkg-config lld
  qt6-base-dev qt6-base-dev-tools qt6-serialport-dev qt6-translations-l10n libgl1-mesa-dev
  libgtest-dev googletest libbenchmark-dev
  xvfb xauth fonts-dejavu-core poppler-utils tzdata
  clang libclang-rt-14-dev
  g++-mingw-w64-x86-64-posix wine64
)
[ "${PLUMET_EXTRA_PACKAGES:-}" ] && read -r -a extra <<<"$PLUMET_EXTRA_PACKAGES" && packages+=("${extra[@]}")

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}" >&2
if [ "$(id -u)" -eq 0 ]; then sudo=(); else sudo=(sudo); fi
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
