#!/usr/bin/env bash
# Retakes the README's pictures of the deck tools, each from its own program run on a private X server under
# openbox: import from text, comparison, opening hand and print preview, and the first pages of the PDF.
# Usage: tests/desktop/take-tool-screenshots.sh [PROGRAM_DIR [OUTPUT_DIR]]
#   PROGRAM_DIR: a built program folder (default build/dev/program), OUTPUT_DIR: default docs/.
#   The PDF pages need pdftoppm (poppler-utils); without it they are left out.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
program_dir="$(realpath "${1:-$root/build/dev/program}")"
output="$(realpath -m "${2:-$root/docs}")"

if [ -z "${SCREENSHOT_ON_SERVER:-}" ]; then
  exec env WM_SCREEN=1400x1000x24 SCREENSHOT_ON_SERVER=1 "$root/tests/desktop/with-window-manager.sh" \
    "$0" "$program_dir" "$output"
fi

work="$(mktemp -d "${TMPDIR:-/tmp}/screenshots.XXXXXX")"
pid=""
finish() {
  if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
    kill "$pid"
    wait "$pid" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap finish EXIT
mkdir -p "$work/program" "$output"
cp "$program_dir"/* "$work/program/"
export HOME="$work"

db="$work/program/dravennacard.db"
query() { sqlite3 "$db" "$1"; }
# Two decks of Harald's: this one and one with a few cards changed and an inquisitor.
{
  query "SELECT NUMMER FROM ANFUEHRER WHERE NAME COLLATE BINARY = 'Harald'"
  echo
  query "SELECT NUMMER FROM KARTEN WHERE FRAKTION COLLATE BINARY = 'Orvane' ORDER BY NUMMER COLLATE BINARY LIMIT 16"
  query "SELECT NUMMER FROM KARTEN WHERE NUMMER COLLATE BINARY IN ('GARSK 05', 'SIVAR 06', 'TOLVEN 07', 'UMBREL 03')"
} | sed 's/$/\r/' >"$work/Orvane.drd"
{
  query "SELECT NUMMER FROM ANFUEHRER WHERE NAME COLLATE BINARY = 'Harald'"
  query "SELECT NUMMER FROM INQUISITOR ORDER BY NUMMER COLLATE BINARY LIMIT 1"
  query "SELECT NUMMER FROM KARTEN WHERE FRAKTION COLLATE BINARY = 'Orvane' ORDER BY NUMMER COLLATE BINARY LIMIT 12 OFFSET 4"
  query "SELECT NUMMER FROM KARTEN WHERE NUMMER COLLATE BINARY IN ('GARSK 05', 'SIVAR 05', 'BRAMEL 03')"
} | sed 's/$/\r/' >"$work/Orvane-neu.drd"

# One program run: the deck loaded, the session's steps taken, the window titled $2 photographed as $3.
shoot() {
  local steps="$1" title="$2" picture="$3" keys="${4:-}"
  rm -rf "$work/config"
  mkdir -p "$work/config"
  export XDG_CONFIG_HOME="$work/config"
  printf 'answer Ok\n%b' "$steps" >"$work/session"
  DRAVENNA_SESSION_SCRIPT="$work/session" DRAVENNA_SESSION_LOG="$work/session.log" \
    "$work/program/dravenna-deckbuilder" "$work/Orvane.drd" >"$work/program.log" 2>&1 &
  pid=$!
  local window
  window="$(timeout 60 xdotool search --sync --name "$title" | head -n 1)"
  sleep 1
  if [ -n "$keys" ]; then
    xdotool windowactivate --sync "$window"
    eval "$keys"
    window="$(timeout 60 xdotool search --sync --name "${5:-$title}" | head -n 1)"
    sleep 1.5
  fi
  import -window "$window" -frame "$output/$picture"
  echo "Written: $output/$picture"
  kill "$pid"
  wait "$pid" 2>/dev/null || true
  pid=""
}

shoot 'menu mnuStarthand\n' '^Starthand$' starthand.png
shoot "menu mnuVergleichenDatei\nfile $work/Orvane-neu.drd\n" '^Deck vergleichen mit' vergleich.png
shoot 'menu mnuTextImport\n' '^Deck aus Text importieren$' textimport.png \
  "xdotool type --delay 20 \$'ANFÜHRER: Harald (Orvane)\n3 Nebelkraehe\nORVANE 05\nSöldner aus Tannenbruch x1\nLaterne\nHarald der Kuhne\n'"
shoot 'menu mnuDrucken\n' '^Deck drucken$' druckvorschau.png 'xdotool key Return' '^Druckvorschau$'

# The PDF as the player gets it, its first two pages as pictures.
if command -v pdftoppm >/dev/null; then
  shoot "menu mnuAlsPdf\nfile $work/deck.pdf\nanswer Ok\n" '^Deck als PDF speichern$' pdf-optionen.png 'xdotool key Return; sleep 3' '^Dravenna Deck-Builder$'
  pdftoppm -r 40 -f 1 -l 2 -png "$work/deck.pdf" "$work/seite"
  montage=("$work"/seite-*.png)
  convert "${montage[@]}" -bordercolor '#888' -border 1 +append "$output/pdf-seiten.png"
  rm -f "$output/pdf-optionen.png"
  echo "Written: $output/pdf-seiten.png"
fi
