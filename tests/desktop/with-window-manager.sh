#!/usr/bin/env bash
# Runs COMMAND… on a private X server (Xvfb) under the openbox window manager and returns COMMAND's exit code.
# The server picks its own free display number, so parallel runs never collide.
# WM_SCREEN sets the screen size (default 1280x1024x24); WM_WAIT the seconds allowed for each start (default 60).
set -uo pipefail

if [ $# -eq 0 ]; then
  echo "usage: $0 COMMAND [ARG...]" >&2
  exit 2
fi

screen_size="${WM_SCREEN:-1280x1024x24}"
wait_limit="${WM_WAIT:-60}"
work="$(mktemp -d "${TMPDIR:-/tmp}/with-wm.XXXXXX")"
xvfb_pid=""
wm_pid=""

stop() {
  # Ends only what this script started, window manager first.
  for pid in $wm_pid $xvfb_pid; do
    if kill -0 "$pid" 2>/dev/null; then
      kill "$pid" 2>/dev/null
      for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
      kill -9 "$pid" 2>/dev/null
    fi
    wait "$pid" 2>/dev/null
  done
  rm -rf "$work"
}
trap stop EXIT
trap 'exit 130' INT TERM

# Waits until the test command succeeds; gives up after wait_limit seconds or when pid has died.
wait_for() {
  local what="$1" pid="$2"
  shift 2
  local deadline=$((SECONDS + wait_limit))
  until "$@" >/dev/null 2>&1; do
    if ! kill -0 "$pid" 2>/dev/null; then
      echo "with-window-manager: $what ended before it was ready" >&2
      return 1
    fi
    if [ $SECONDS -ge $deadline ]; then
      echo "with-window-manager: $what not ready after ${wait_limit}s" >&2
      return 1
    fi
    sleep 0.2
  done
}

display_file="$work/display"
: >"$display_file"
Xvfb -displayfd 3 -screen 0 "$screen_size" -nolisten tcp -noreset 3>"$display_file" 2>"$work/xvfb.log" &
xvfb_pid=$!
if ! wait_for "Xvfb (display number)" "$xvfb_pid" grep -q '[0-9]' "$display_file"; then
  cat "$work/xvfb.log" >&2
  exit 1
fi
export DISPLAY=":$(tr -dc '0-9' <"$display_file")"
if ! wait_for "Xvfb on $DISPLAY" "$xvfb_pid" xdpyinfo; then
  cat "$work/xvfb.log" >&2
  exit 1
fi

# openbox announces itself through a child window of the root named in _NET_SUPPORTING_WM_CHECK.
wm_ready() {
  local check
  check="$(xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null)" || return 1
  case "$check" in *"window id # 0x"*) ;; *) return 1 ;; esac
  xprop -id "${check##* }" _NET_WM_NAME 2>/dev/null | grep -q '"Openbox"'
}
HOME="$work" openbox --sm-disable >"$work/openbox.log" 2>&1 &
wm_pid=$!
if ! wait_for "openbox on $DISPLAY" "$wm_pid" wm_ready; then
  cat "$work/openbox.log" >&2
  exit 1
fi

# The programs run on this server, never offscreen.
QT_QPA_PLATFORM=xcb "$@"
status=$?
exit $status
