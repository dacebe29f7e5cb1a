#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Measures the editor's start-up and memory against a minimal Qt program, on a
# virtual X display:
#
#   bench/startup.sh [-n RUNS] [BUILD_DIR]      (BUILD_DIR: build, configured with -DKORVANE_BENCH=ON)
#
# - Start: the wall time from starting the process to its main window shown and
#   painted, for `korvane STYLE.sty` and for korvane_minimal_window (one empty QMainWindow),
#   RUNS times each, one run of each first to warm the file cache. Prints the
#   medians and their ratio.
# - Hand-over: the wall time of a second `korvane STYLE.sty` that finds the editor
#   running, hands it the file and ends, against the minimal program's start.
# - Memory: the peak resident memory (VmHWM) of `korvane` with 20 styles open, and
#   of the minimal program, one second after the window was painted.
#
# The styles are made up by korvane_make_styles. Each measured process gets a fresh
# HOME, XDG_CONFIG_HOME and XDG_RUNTIME_DIR, so no user settings are read or written.
# Needs xvfb-run, xdotool and xwd (scripts/packages.sh: KORVANE_BENCH_PACKAGES).
set -euo pipefail
shopt -s inherit_errexit

runs=10
if [ "${1:-}" = "-n" ]; then
    runs=$2
    shift 2
fi
build=$(realpath "${1:-build}")
korvane=$build/src/app/korvane
minimal=$build/bench/korvane_minimal_window
make_styles=$build/bench/korvane_make_styles
korvane_title='^Korvane - Yamaha Styles bearbeiten'
minimal_title='^Minimal Qt Window$'

for program in "$korvane" "$minimal" "$make_styles"; do
    [ -x "$program" ] || { echo "missing $program: build with -DKORVANE_BENCH=ON" >&2; exit 2; }
done
for tool in xvfb-run xdotool xwd; do
    command -v "$tool" > /dev/null || { echo "needs $tool (scripts/packages.sh: KORVANE_BENCH_PACKAGES)" >&2; exit 2; }
done

# Everything below runs on one virtual display of its own. -noreset: by default the
# server resets whenever its last client leaves, and refuses the next program meanwhile.
if [ -z "${KORVANE_STARTUP_DISPLAY:-}" ]; then
    KORVANE_STARTUP_DISPLAY=1 exec xvfb-run -a -s "-screen 0 1280x1024x24 -br -noreset" "$0" -n "$runs" "$build"
fi
unset QT_QPA_PLATFORM

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/styles"
"$make_styles" "$work/styles" 20 > /dev/null
styles=("$work"/styles/*.sty)

now_ns() { date +%s%N; }

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# Starts "$@" in a fresh home; sets `pid` and `home`.
start_isolated() {
    home=$(mktemp -d "$work/home.XXXXXX")
    mkdir -m 700 "$home/config" "$home/runtime"
    HOME=$home XDG_CONFIG_HOME=$home/config XDG_RUNTIME_DIR=$home/runtime "$@" > /dev/null 2>&1 &
    pid=$!
}

# Waits until a visible window whose title matches $1 exists and has been painted
# (10 s at most). The display's root is black (-br) and a Qt window has no background
# of its own, so the window reads as zero bytes until the program's first paint,
# which comes from its event loop, after everything before it in the start-up.
wait_for_painted_window() {
    local deadline=$(($(now_ns) + 10000000000)) window=""
    until [ -n "$window" ] && [ "$(xwd -id "$window" -silent | tr -d '\0' | wc -c)" -gt 100000 ]; do
        [ "$(now_ns)" -lt "$deadline" ] || { echo "no painted window \"$1\" within 10 s" >&2; return 1; }
        [ -n "$window" ] || window=$(xdotool search --onlyvisible --name "$1" 2> /dev/null | head -n 1) || true
        sleep 0.005
    done
}

stop() {
    kill "$pid" 2> /dev/null || true
    wait "$pid" 2> /dev/null || true
}

# Milliseconds from start to the painted main window: TITLE PROGRAM [ARGS...]
time_to_window() {
    local title=$1
    shift
    local start
    start=$(now_ns)
    start_isolated "$@"
    wait_for_painted_window "$title" || { stop; return 1; }
    echo $((($(now_ns) - start) / 1000000))
    stop
}

# Median milliseconds over the runs after one warm-up run: TITLE PROGRAM [ARGS...]
median_time_to_window() {
    time_to_window "$@" > /dev/null
    for ((i = 0; i < runs; ++i)); do time_to_window "$@"; done | median
}

# Peak resident memory in kB, one second after the window was painted: TITLE PROGRAM [ARGS...]
peak_memory() {
    local title=$1
    shift
    start_isolated "$@"
    wait_for_painted_window "$title" || { stop; return 1; }
    sleep 1
    awk '/^VmHWM:/ { print $2 }' "/proc/$pid/status"
    stop
}

# The ratio of $1 to the minimal program's start, against the aim.
print_ratio() {
    awk -v a="$1" -v b="$minimal_ms" 'BEGIN { printf "  ratio                   %.2f (aim: 1.25 at most)\n", a / b }'
}

# Sets minimal_ms, the minimal program's start, which both comparisons use.
measure_cold_start() {
    local editor
    editor=$(median_time_to_window "$korvane_title" "$korvane" "${styles[0]}")
    minimal_ms=$(median_time_to_window "$minimal_title" "$minimal")
    echo "start to shown and painted main window, median of $runs:"
    echo "  korvane with one style  $editor ms"
    echo "  minimal Qt window       $minimal_ms ms"
    print_ratio "$editor"
}

# Milliseconds from a second start to its end, once it has handed its file to the
# copy already running in the same home.
time_hand_over() {
    start_isolated "$korvane"
    wait_for_painted_window "$korvane_title" || { stop; return 1; }
    local start
    start=$(now_ns)
    HOME=$home XDG_CONFIG_HOME=$home/config XDG_RUNTIME_DIR=$home/runtime "$korvane" "${styles[1]}" > /dev/null 2>&1
    echo $((($(now_ns) - start) / 1000000))
    stop
}

measure_hand_over() {
    local times
    time_hand_over > /dev/null
    times=$(for ((i = 0; i < runs; ++i)); do time_hand_over; done | median)
    echo "second start handing its file to the running copy, median of $runs:"
    echo "  korvane second start    $times ms (against the minimal window's start above)"
    print_ratio "$times"
}

measure_memory() {
    local editor minimal_kb
    editor=$(peak_memory "$korvane_title" "$korvane" "${styles[@]}")
    minimal_kb=$(peak_memory "$minimal_title" "$minimal")
    echo "peak resident memory (VmHWM):"
    awk -v k="$editor" 'BEGIN { printf "  korvane with 20 styles  %.1f MB (aim: under 40 MB)\n", k / 1024 }'
    awk -v k="$minimal_kb" 'BEGIN { printf "  minimal Qt window       %.1f MB\n", k / 1024 }'
}

measure_cold_start
measure_hand_over
measure_memory
