#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program from its program folder.
# Extra arguments are passed on: ./run.sh deck.drd opens that deck.
set -euo pipefail
caller_dir="$PWD"
cd "$(dirname "$0")"
./scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release >/dev/null

display_ok=0
if [ -n "${WAYLAND_DISPLAY:-}" ] || [ -n "${QT_QPA_PLATFORM:-}" ]; then
  display_ok=1
elif [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  display_ok=1
fi
if [ "$display_ok" -ne 1 ]; then
  echo "Dravenna Deck-Builder: kein Bildschirm erreichbar (DISPLAY ${DISPLAY:-nicht gesetzt})." >&2
  exit 1
fi

args=()
for a in "$@"; do
  # Relative deck paths are meant from where run.sh was called.
  case "$a" in
    /*) args+=("$a") ;;
    *) args+=("$caller_dir/$a") ;;
  esac
done
cd build/release/program
exec ./dravenna-deckbuilder "${args[@]+"${args[@]}"}"
