#!/usr/bin/env bash
# Retakes the README's screenshot: the program on its own X server under openbox, a deck loaded from the
# command line and a card shown in the card window above the main window.
# Usage: tests/desktop/take-screenshot.sh [PROGRAM_DIR [OUTPUT]]
#   PROGRAM_DIR: a built program folder (default build/dev/program), OUTPUT: default docs/screenshot.png.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
program_dir="$(realpath "${1:-$root/build/dev/program}")"
output="$(realpath -m "${2:-$root/docs/screenshot.png}")"

if [ -z "${SCREENSHOT_ON_SERVER:-}" ]; then
  exec env WM_SCREEN=1280x800x24 SCREENSHOT_ON_SERVER=1 "$root/tests/desktop/with-window-manager.sh" \
    "$0" "$program_dir" "$output"
fi

# From here on: on the private server. Program folder and settings are copies, so nothing of the player's is touched.
work="$(mktemp -d "${TMPDIR:-/tmp}/screenshot.XXXXXX")"
pid=""
finish() {
  if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
    kill "$pid"
    wait "$pid" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap finish EXIT
mkdir -p "$work/program" "$work/config"
cp "$program_dir"/* "$work/program/"
export XDG_CONFIG_HOME="$work/config" HOME="$work"

# Main window at the left, card window overlapping its right edge (twips; 15 per pixel at 96 dpi).
cat >"$work/config/DravennaDeckBuilder.conf" <<'CONF'
[frmMain]
Left=150
Top=150
Width=14895
Height=11250
chkShow=True

[frmShowCard]
Type=Pic
Left=14400
Top=1650
Height=7500
CONF

# A deck: a leader, an inquisitor and cards of the leader's faction, as the deck file holds them.
db="$work/program/dravennacard.db"
query() { sqlite3 "$db" "$1"; }
{
  query "SELECT NUMMER FROM ANFUEHRER WHERE NAME COLLATE BINARY = 'Harald'"
  query "SELECT NUMMER FROM INQUISITOR ORDER BY NUMMER COLLATE BINARY LIMIT 1"
  query "SELECT NUMMER FROM KARTEN WHERE FRAKTION COLLATE BINARY = 'Orvane' ORDER BY NUMMER COLLATE BINARY LIMIT 14"
} | sed 's/$/\r/' >"$work/Orvane.drd"

"$work/program/dravenna-deckbuilder" "$work/Orvane.drd" >"$work/program.log" 2>&1 &
pid=$!

# The load is confirmed in a message box; Enter closes it and the keyboard is back in the pool.
box="$(timeout 60 xdotool search --sync --name '^Dravenna-Deck geladen$' | head -n 1)"
xdotool windowactivate --sync "$box" key Return
for _ in $(seq 100); do
  xdotool search --name '^Dravenna-Deck geladen$' >/dev/null 2>&1 || break
  sleep 0.1
done
sleep 1
# A click on a card of the pool, then a row further with the keyboard: the card window follows the selection.
xdotool mousemove --sync 180 250 click 1
sleep 0.5
xdotool key --delay 200 Down
sleep 2
import -window root "$output"
echo "Screenshot written to $output"
