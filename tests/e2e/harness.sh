# Sourced by the scripts that drive the real program under an X server of
# their own (the end-to-end run and the screenshot script). They define fail
# and keep the program's process id in program_pid.

# now_ms: milliseconds since the epoch.
now_ms() {
  local t=${EPOCHREALTIME/[.,]/}
  echo $((t / 1000))
}

# start_xvfb WORK: starts Xvfb (1280x1024x24, no TCP, a fresh cookie) with its
# files in WORK, sets xvfb_pid and exports DISPLAY and XAUTHORITY. Calls the
# caller's fail on any error.
start_xvfb() {
  local work=$1 cookie limit
  cookie=$(od -An -N16 -tx1 /dev/urandom | tr -d ' \n')
  export XAUTHORITY=$work/Xauthority
  # The server accepts every cookie in its file; the client entry follows once
  # the display number is known.
  : >"$work/server-auth"
  : >"$XAUTHORITY"
  xauth -q -f "$work/server-auth" add :0 . "$cookie" || fail "xauth"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset -auth "$work/server-auth" \
    3>"$work/display" >"$work/xvfb.log" 2>&1 &
  xvfb_pid=$!
  limit=$(($(now_ms) + 15000))
  until [[ $(cat "$work/display" 2>/dev/null) == *[0-9]* ]]; do
    kill -0 "$xvfb_pid" 2>/dev/null || { cat "$work/xvfb.log"; fail "Xvfb did not start"; }
    (($(now_ms) < limit)) || fail "Xvfb gave no display number within 15 s"
    sleep 0.05
  done
  export DISPLAY=:$(tr -dc '0-9' <"$work/display")
  xauth -q add "$DISPLAY" . "$cookie" || fail "xauth for $DISPLAY"
}

# wait_exit SECONDS: waits until the program, asked to end, has ended with
# status 0; fails otherwise.
wait_exit() {
  local limit=$(($(now_ms) + $1 * 1000)) status
  while kill -0 "$program_pid" 2>/dev/null; do
    (($(now_ms) < limit)) || fail "the program still runs $1 s after 終"
    sleep 0.05
  done
  wait "$program_pid"
  status=$?
  program_pid=
  ((status == 0)) || fail "the program ended with status $status after 終"
}
