#!/usr/bin/env bash
# Retakes the README's screenshot: the program on its own X server under openbox, a deck loaded from the
# command line, a card shown in the card window and the statistics window open beside the main window.
# Usage: tests/desktop/take-screenshot.sh [PROGRAM_DIR [OUTPUT]]
#   PROGRAM_DIR: a built program folder (default build/dev/program), OUTPUT: default docs/screenshot.png.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
program_dir="$(realpath "${1:-$root/build/dev/program}")"
output="$(realpath -m "${2:-$root/docs/screenshot.png}")"

# shellcheck source-path=SCRIPTDIR source=screenshot-run.sh
. "$root/tests/desktop/screenshot-run.sh"
run_on_private_server 1600x1050x24 "$0" "$program_dir" "$output"
# From here on: on the private server.
copy_program "$program_dir"

# Main window at the top left, the card window below it; the statistics window has no stored place, so it
# opens where a new player's does: beside the main window (twips; 15 per pixel at 96 dpi).
cat >"$work/config/DravennaDeckBuilder.conf" <<'CONF'
[frmMain]
Left=150
Top=150
Width=14895
Height=9000
chkShow=True

[frmShowCard]
Type=Pic
Left=150
Top=9300
Height=6000
CONF

# A deck: a leader, an inquisitor, cards of the leader's faction and a few foreign ones, as the deck file holds them.
{
  query "SELECT NUMMER FROM ANFUEHRER WHERE NAME COLLATE BINARY = 'Harald'"
  query "SELECT NUMMER FROM INQUISITOR ORDER BY NUMMER COLLATE BINARY LIMIT 1"
  query "SELECT NUMMER FROM KARTEN WHERE FRAKTION COLLATE BINARY = 'Orvane' ORDER BY NUMMER COLLATE BINARY LIMIT 14"
  query "SELECT NUMMER FROM KARTEN WHERE NUMMER COLLATE BINARY IN ('GARSK 05', 'SIVAR 06', 'TOLVEN 07', 'UMBREL 03')"
} | sed 's/$/\r/' >"$work/Orvane.drd"

# The session script (core/sessionscript.h) confirms the load and opens "Statistik…" as the player would.
printf 'answer Ok\nmenu mnuStatistik\n' >"$work/session"
DRAVENNA_SESSION_SCRIPT="$work/session" DRAVENNA_SESSION_LOG="$work/session.log" \
  "$work/program/dravenna-deckbuilder" "$work/Orvane.drd" >"$work/program.log" 2>&1 &
pid=$!
timeout 60 xdotool search --sync --name '^Statistik$' >/dev/null
sleep 1
# A click on a card of the pool, then a row further with the keyboard: the card window follows the selection.
main="$(xdotool search --name '^Dravenna Deck-Builder$' | head -n 1)"
xdotool windowactivate --sync "$main"
xdotool mousemove --sync 180 250 click 1
sleep 0.5
xdotool key --delay 200 Down
sleep 2
import -window root "$output"
echo "Screenshot written to $output"
