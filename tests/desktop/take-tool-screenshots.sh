#!/usr/bin/env bash
# Retakes the README's pictures of the deck tools, each from its own program run on a private X server under
# openbox: import from text, comparison, opening hand and print preview, and the first pages of the PDF.
# Usage: tests/desktop/take-tool-screenshots.sh [PROGRAM_DIR [OUTPUT_DIR]]
#   PROGRAM_DIR: a built program folder (default build/dev/program), OUTPUT_DIR: default docs/.
#   The PDF pages need pdftoppm and pdfinfo (poppler-utils); without them they are left out.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
program_dir="$(realpath "${1:-$root/build/dev/program}")"
output="$(realpath -m "${2:-$root/docs}")"

# shellcheck source-path=SCRIPTDIR source=screenshot-run.sh
. "$root/tests/desktop/screenshot-run.sh"
run_on_private_server 1400x1000x24 "$0" "$program_dir" "$output"
copy_program "$program_dir"
mkdir -p "$output"

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
# Typed line by line: a line break typed as text does not reach the text box as one.
import_lines=('Anführer: Harald (Orvane)' '3 Nebelkraehe' 'ORVANE 05' 'Söldner aus Tannenbruch x1' 'Laterne' 'Harald der Kuhne')
type_lines() {
  local line
  for line in "${import_lines[@]}"; do
    xdotool type --delay 20 "$line"
    xdotool key Return
  done
}
shoot 'menu mnuTextImport\n' '^Deck aus Text importieren$' textimport.png type_lines
shoot 'menu mnuDrucken\n' '^Deck drucken$' druckvorschau.png 'xdotool key Return' '^Druckvorschau$'

# The PDF as the player gets it, its first two pages as pictures.
if command -v pdftoppm >/dev/null; then
  shoot "menu mnuAlsPdf\nfile $work/deck.pdf\nanswer Ok\n" '^Deck als PDF speichern$' pdf-optionen.png 'xdotool key Return; sleep 3' '^Dravenna Deck-Builder$'
  # The list's first page and the first page of pictures, which follows the list's pages.
  pages="$(pdfinfo "$work/deck.pdf" | sed -n 's/^Pages: *//p')"
  cards=$(($(wc -l <"$work/Orvane.drd") - 2)) # leader and inquisitor lines first
  first_proxies=$((pages - (cards + 8) / 9 + 1))
  pdftoppm -r 40 -f 1 -l 1 -png "$work/deck.pdf" "$work/seite-a"
  pdftoppm -r 40 -f "$first_proxies" -l "$first_proxies" -png "$work/deck.pdf" "$work/seite-b"
  montage=("$work"/seite-a*.png "$work"/seite-b*.png)
  convert "${montage[@]}" -bordercolor '#888' -border 1 +append "$output/pdf-seiten.png"
  rm -f "$output/pdf-optionen.png"
  echo "Written: $output/pdf-seiten.png"
fi
