#!/usr/bin/env bash
# Installs the Debian 12 packages the project needs. Safe to run again: only missing packages are fetched.
#   scripts/install-deps.sh        what building and running the program needs (./run.sh)
#   scripts/install-deps.sh --dev  and what the tests and benchmarks need (./test.sh)
set -euo pipefail

# Building and running the program.
packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev qt6-charts-dev
  libsqlite3-dev
  x11-utils
  fonts-dejavu-core
  qt6-translations-l10n
)

# Tests, benchmarks and the checks of the installed files and the package.
dev_packages=(
  sqlite3
  libbenchmark-dev
  xvfb xauth imagemagick openbox xdotool
  clang libclang-rt-14-dev
  desktop-file-utils appstream shared-mime-info dpkg-dev
  file lintian man-db bash-completion
)

for arg in "$@"; do
  case "$arg" in
    --dev) packages+=("${dev_packages[@]}") ;;
    *) echo "install-deps.sh: unknown option $arg (only --dev)" >&2; exit 2 ;;
  esac
done

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
  SUDO=()
elif command -v sudo >/dev/null 2>&1; then
  SUDO=(sudo)
else
  # Without sudo only root can install: say what root has to run, then stop.
  echo "install-deps.sh: Es fehlen Debian-Pakete, und sudo gibt es hier nicht. Bitte als root ausführen:" >&2
  echo "  apt-get update && apt-get install --no-install-recommends ${missing[*]}" >&2
  echo "Danach diesen Befehl erneut starten." >&2
  exit 1
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${SUDO[@]}" apt-get update -qq
"${SUDO[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
