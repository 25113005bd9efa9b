#!/usr/bin/env bash
# Installs everything the build, the tests and the demo need on a Debian 12 machine:
# the compiler tool chain, the libraries, the fonts the text measurement relies on,
# Chromium for the browser tests and the pinned npm packages. Idempotent: a second run
# finds everything present and only checks.
set -euo pipefail

cd "$(dirname "$0")/.."

packages=(
  g++ cmake ninja-build make pkg-config
  libgtest-dev googletest libgmock-dev libbenchmark-dev
  zlib1g-dev libssl-dev
  libjpeg62-turbo-dev libpng-dev libgif-dev
  libfreetype-dev libfontconfig-dev fonts-liberation2 fonts-urw-base35
  qt6-base-dev
  chromium
  procps
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
command -v node >/dev/null 2>&1 || missing+=(nodejs)
command -v npm >/dev/null 2>&1 || missing+=(npm)

if ((${#missing[@]})); then
  echo "install-deps: installing ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# npm packages: jQuery and its masked-input plug-in (embedded into the executable) and
# the browser driver of the end-to-end tests. Re-installed only when the lock changed.
stamp=node_modules/.install-stamp
if [ ! -f "$stamp" ] || [ package-lock.json -nt "$stamp" ]; then
  echo "install-deps: npm ci"
  npm ci --no-audit --no-fund --loglevel=error
  touch "$stamp"
fi
