#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program from its program folder.
# Extra arguments are passed on: ./run.sh deck.drd opens that deck.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release >/dev/null
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "Kein Bildschirm erreichbar: DISPLAY ist nicht gesetzt." >&2
  exit 1
fi
args=()
for a in "$@"; do
  # A relative deck path must still point at the same file after the change of directory.
  if [ -e "$a" ]; then args+=("$(realpath "$a")"); else args+=("$a"); fi
done
cd build/release/program
exec ./dravenna-deckbuilder "${args[@]}"
