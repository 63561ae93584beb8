# Sourced: starts a virtual display of the given depth (default 24) unless one is running
# for us, and exports it in VAR. Usage: start_xvfb VAR DEPTH [Xvfb options]
start_xvfb() {
  local var=$1 depth=${2:-24} n
  shift 2 || shift $#
  for n in $(seq 91 120); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1024x768x"$depth" "$@" -nolisten tcp >/dev/null 2>&1 &
    local pid=$!
    for _ in $(seq 50); do
      [ -e "/tmp/.X11-unix/X$n" ] && break
      sleep 0.1
    done
    export "$var=:$n"
    XVFB_PIDS="${XVFB_PIDS:-} $pid"
    return 0
  done
  echo "no free display number for Xvfb" >&2
  return 1
}
stop_xvfb() {
  local pid
  for pid in ${XVFB_PIDS:-}; do kill "$pid" 2>/dev/null || true; done
}
