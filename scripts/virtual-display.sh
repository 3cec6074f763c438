# Sourced by the test scripts. `start_virtual_display FIRST LAST` starts Xvfb on the first free
# display number in FIRST..LAST when no display is set, exports DISPLAY and waits for its socket.
# It leaves the server's process id in `xvfb_pid` (empty when a display was already there).
start_virtual_display() {
  xvfb_pid=""
  [ -n "${DISPLAY:-}" ] && return 0
  local n
  for n in $(seq "$1" "$2"); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
      Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
      xvfb_pid=$!
      export DISPLAY=":$n"
      break
    fi
  done
  for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X${DISPLAY#:}" ] && break; sleep 0.1; done
}
