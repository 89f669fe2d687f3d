# Sourced by the run and test scripts: gives this shell a display, a private Xvfb where none is set.
if [ -z "${DISPLAY:-}" ]; then
  xvfb_fifo=$(mktemp -u) && mkfifo "$xvfb_fifo"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$xvfb_fifo" >/dev/null 2>&1 &
  xvfb_pid=$!
  read -r xvfb_display <"$xvfb_fifo"
  rm -f "$xvfb_fifo"
  export DISPLAY=":$xvfb_display"
  trap 'kill $xvfb_pid 2>/dev/null || true' EXIT
fi
