#!/usr/bin/env bash
# Start-up of the built program under Xvfb: the time from launch to its main
# menu window メニュー being mapped (visible), and the peak resident memory
# of the process over the run, as /usr/bin/time -v reports it. Each run starts
# under a fresh HOME and ends with a click on the menu's 終 button, so the
# program exits normally. Prints every run and the medians.
#
#   bench/startup.sh [PROGRAM] [RUNS]      (defaults: build-bench/kunishirabe, 10)
#
# Environment: STARTUP_DISPLAY (default 97), the display number of the Xvfb
# started for these runs; STARTUP_POLL=xev (default) or xdotool.
#   xev      the moment is taken when the server reports MapNotify for the
#            window (xev -root -event substructure), to well under 1 ms;
#   xdotool  a loop of `xdotool search --onlyvisible --name '^メニュー$'`, whose
#            resolution is the time of one call (several ms).
# Needs: Xvfb (xvfb), xdotool, xev (x11-utils), /usr/bin/time (time).

set -uo pipefail

program=$(readlink -f -- "${1:-build-bench/kunishirabe}")
runs=${2:-10}
display_number=${STARTUP_DISPLAY:-97}
poll=${STARTUP_POLL:-xev}
# The 終 button of メニュー, window-relative centre.
exit_x=722
exit_y=328

[[ -x $program ]] || { echo "no program at $program" >&2; exit 2; }
for tool in Xvfb xdotool xev /usr/bin/time stdbuf; do
    command -v "$tool" >/dev/null || { echo "missing tool: $tool" >&2; exit 2; }
done
if [[ -e /tmp/.X$display_number-lock || -e /tmp/.X11-unix/X$display_number ]]; then
    echo "display :$display_number is taken; set STARTUP_DISPLAY" >&2
    exit 2
fi

unset QT_QPA_PLATFORM WAYLAND_DISPLAY XAUTHORITY
export DISPLAY=:$display_number
export LANG=C.UTF-8

work=$(mktemp -d "${TMPDIR:-/tmp}/kunishirabe-startup.XXXXXX") || exit 1
xvfb_pid=
program_pid=
xev_pid=

cleanup() {
    [[ -n $program_pid ]] && kill "$program_pid" 2>/dev/null && wait "$program_pid" 2>/dev/null
    [[ -n $xev_pid ]] && kill "$xev_pid" 2>/dev/null && wait "$xev_pid" 2>/dev/null
    [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    rm -rf -- "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM HUP

# Microseconds since the epoch, without starting a process.
now_us() { local t=${EPOCHREALTIME/[.,]/}; echo $((10#$t)); }

Xvfb ":$display_number" -nolisten tcp -screen 0 1280x1024x24 -noreset >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 200); do
    xdotool getdisplaygeometry >/dev/null 2>&1 && break
    kill -0 "$xvfb_pid" 2>/dev/null || { cat "$work/xvfb.log" >&2; exit 1; }
    sleep 0.05
done
xdotool getdisplaygeometry >/dev/null 2>&1 || { echo "Xvfb :$display_number did not start" >&2; exit 1; }

# One run: sets run_ms (launch to mapped menu, or empty) and run_kb.
run_once() {
    local home=$work/home
    rm -rf -- "$home"
    mkdir -p "$home/runtime" "$home/tmp" && chmod 700 "$home/runtime"
    run_ms='' run_kb='' run_status=''

    if [[ $poll == xev ]]; then
        coproc XEV { exec stdbuf -oL xev -root -event substructure; }
        xev_pid=$XEV_PID
        # xev selects its events before it prints anything; give it a moment.
        sleep 0.3
    fi

    local started
    started=$(now_us)
    HOME=$home XDG_CONFIG_HOME=$home/.config XDG_CACHE_HOME=$home/.cache \
    XDG_DATA_HOME=$home/.local/share XDG_STATE_HOME=$home/.local/state \
    XDG_RUNTIME_DIR=$home/runtime TMPDIR=$home/tmp \
        /usr/bin/time -v -o "$work/time.txt" "$program" >"$work/program.log" 2>&1 &
    program_pid=$!

    local shown='' win='' line id
    if [[ $poll == xev ]]; then
        # MapNotify event, serial N, synthetic NO, window ROOT,
        #     event ROOT, window MAPPED, override NO
        while read -r -t 20 -u "${XEV[0]}" line; do
            [[ $line == MapNotify* ]] || continue
            local at
            at=$(now_us)
            read -r -t 5 -u "${XEV[0]}" line || break
            id=${line#*window }
            id=${id%%,*}
            if [[ $(xdotool getwindowname "$id" 2>/dev/null) == メニュー ]]; then
                shown=$at win=$id
                break
            fi
        done
        kill "$xev_pid" 2>/dev/null
        wait "$xev_pid" 2>/dev/null
        xev_pid=
    else
        local limit=$(($(now_us) + 20000000))
        while (($(now_us) < limit)); do
            if win=$(xdotool search --onlyvisible --name '^メニュー$' 2>/dev/null); then
                shown=$(now_us)
                win=${win%%$'\n'*}
                break
            fi
        done
    fi
    [[ -n $shown ]] && run_ms=$(((shown - started) / 1000)).$(printf '%03d' $(((shown - started) % 1000)))

    # Let the program settle, then 終: the pointer first, then the click
    # (a click at once after the pointer jumps onto the window can be missed).
    sleep 0.5
    local tries
    for tries in 1 2 3 4 5; do
        kill -0 "$program_pid" 2>/dev/null || break
        [[ -n $win ]] || break
        local geometry x y
        geometry=$(xdotool getwindowgeometry --shell "$win" 2>/dev/null) || break
        x=$(sed -n 's/^X=//p' <<<"$geometry")
        y=$(sed -n 's/^Y=//p' <<<"$geometry")
        xdotool mousemove --sync $((x + exit_x - 5)) $((y + exit_y)) 2>/dev/null
        sleep 0.1
        xdotool mousemove --sync $((x + exit_x)) $((y + exit_y)) 2>/dev/null
        sleep 0.2
        xdotool click 1 2>/dev/null
        for _ in $(seq 40); do
            kill -0 "$program_pid" 2>/dev/null || break 2
            sleep 0.05
        done
    done
    if kill -0 "$program_pid" 2>/dev/null; then
        echo "the program did not end after 終; killing it" >&2
        kill "$program_pid"
    fi
    wait "$program_pid"
    program_pid=
    run_kb=$(sed -n 's/^\s*Maximum resident set size (kbytes): //p' "$work/time.txt")
    run_status=$(sed -n 's/^\s*Exit status: //p' "$work/time.txt")
    rm -rf -- "$home"
}

median() { sort -n | awk '{ v[NR] = $1 } END { if (NR == 0) exit; m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2; print m }'; }

echo "program: $program"
echo "display :$display_number (Xvfb 1280x1024x24), poll: $poll, $(nproc) cpus, load $(cut -d' ' -f1-3 /proc/loadavg)"
printf '%4s  %12s  %14s  %s\n' run "to menu (ms)" "peak RSS (MB)" "exit status"
times=() sizes=()
for ((i = 1; i <= runs; ++i)); do
    run_once
    mb=''
    [[ -n $run_kb ]] && mb=$(awk -v k="$run_kb" 'BEGIN { printf "%.1f", k / 1024 }')
    printf '%4d  %12s  %14s  %s\n' "$i" "${run_ms:--}" "${mb:--}" "${run_status:--}"
    [[ -n $run_ms ]] && times+=("$run_ms")
    [[ -n $mb ]] && sizes+=("$mb")
done

t=$(printf '%s\n' "${times[@]}" | median)
m=$(printf '%s\n' "${sizes[@]}" | median)
echo "median of ${#times[@]} runs: ${t:--} ms to the visible menu (goal < 100), peak RSS ${m:--} MB (goal < 45)"
[[ ${#times[@]} -eq $runs && ${#sizes[@]} -eq $runs ]] || exit 1
