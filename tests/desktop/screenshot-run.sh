# shellcheck shell=bash disable=SC2154  # root comes from the sourcing script
# Sourced by the screenshot scripts: the private X server, and a copy of the program that runs there.
# Expects root (the checkout) to be set.

# Runs the calling script again on its own X server under openbox, unless it already runs there.
run_on_private_server() {
  local screen="$1"
  shift
  if [ -z "${SCREENSHOT_ON_SERVER:-}" ]; then
    exec env WM_SCREEN="$screen" SCREENSHOT_ON_SERVER=1 "$root/tests/desktop/with-window-manager.sh" "$@"
  fi
}

# A copy of the program folder in $work, with HOME there: nothing of the player's is touched. The program
# started last ($pid) goes when the script ends.
copy_program() {
  work="$(mktemp -d "${TMPDIR:-/tmp}/screenshot.XXXXXX")"
  pid=""
  trap finish EXIT
  mkdir -p "$work/program" "$work/config"
  cp "$1"/* "$work/program/"
  export HOME="$work" XDG_CONFIG_HOME="$work/config"
  db="$work/program/dravennacard.db"
}
finish() {
  if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
    kill "$pid"
    wait "$pid" 2>/dev/null || true
  fi
  rm -rf "$work"
}
query() { sqlite3 "$db" "$1"; }
