#!/usr/bin/env bash
# Builds the program (nothing else) and starts it from its program folder; installs what is missing.
# Extra arguments are passed on: ./run.sh deck.drd opens that deck (or hands it to the running program).
set -euo pipefail
caller_dir="$PWD"
cd "$(dirname "$0")"

# Is there a screen to show the window on? Asked first, so that a missing one is said at once.
display_reachable() {
  [ -n "${QT_QPA_PLATFORM:-}" ] && return 0
  if [ -n "${WAYLAND_DISPLAY:-}" ]; then
    case "$WAYLAND_DISPLAY" in
      /*) [ -S "$WAYLAND_DISPLAY" ] && return 0 ;;
      *) [ -S "${XDG_RUNTIME_DIR:-/nonexistent}/$WAYLAND_DISPLAY" ] && return 0 ;;
    esac
  fi
  [ -n "${DISPLAY:-}" ] || return 1
  if command -v xdpyinfo >/dev/null 2>&1; then
    xdpyinfo >/dev/null 2>&1
    return
  fi
  # Without xdpyinfo (a fresh machine): a local display is there when its socket is.
  case "$DISPLAY" in
    :*) local n="${DISPLAY#:}"; n="${n%%.*}"; [ -S "/tmp/.X11-unix/X$n" ] ;;
    *) return 0 ;;
  esac
}
if ! display_reachable; then
  echo "Dravenna Deck-Builder: kein Bildschirm erreichbar (DISPLAY ${DISPLAY:-nicht gesetzt})." >&2
  exit 1
fi

./scripts/install-deps.sh
# The package preset builds the program, its plugin and the tool: no tests, no benchmarks.
cmake --preset package >/dev/null
cmake --build --preset package >/dev/null

args=()
for a in "$@"; do
  # Relative deck paths are meant from where run.sh was called.
  case "$a" in
    /*) args+=("$a") ;;
    *) args+=("$caller_dir/$a") ;;
  esac
done
cd build/package/program
exec ./dravenna-deckbuilder "${args[@]+"${args[@]}"}"
