#!/bin/bash
# Ctrl-C against a module in a real Octave session.
#
#   interrupt_test.sh --octave OCTAVE_CLI --case CASE --path DIR [--path DIR ...]
#                     [--runs N] [--seed S] [--timeout SECONDS] [--min-interrupted N]
#
# Starts one interactive octave-cli, reading its commands from a pipe, and
# runs the Octave function CASE (found on the --path folders) many times,
# sending SIGINT to Octave at chosen moments of each run. CASE describes one
# long module call:
#
#   s = CASE ("setup")                     prepares the arguments of one call
#   s = CASE ("run", s)                    makes the call (only the call)
#   problem = CASE ("check", s, outcome, printed)
#       judges the state after the call: "" when it is sound, else what is
#       wrong. OUTCOME is "normal", the module's error message, or "outside"
#       (Octave took the Ctrl-C itself, before the call began or after it
#       returned); PRINTED is what Octave printed during the call (the
#       module's bail-out lines).
#
# Each run must end as a normal, correct call or as the module's
# "CTRL-C pressed!" error (or, when the signal came outside the module, with
# Octave's own interrupt), with CASE's check passing, within the timeout, and
# with Octave still alive. The moments: at the call's start, during it, at
# its calibrated end, twice in a row, and at random; then a Ctrl-C at the
# idle prompt, a normal call that must succeed, and a Ctrl-C of a plain
# Octave loop, which must still stop it.
#
# How the signal reaches Octave here (measured with Octave 7): octave-cli
# --eval exits on SIGINT, so the session is --interactive with its input
# from a pipe. There SIGINT is taken by Octave's signal thread, which raises
# its pending-interrupt count: the modules see it at their next poll; in
# Octave code it unwinds the command to the prompt (try/catch does not stop
# it, unwind_protect cleanup runs); at an idle prompt it discards the next
# input line, so the driver re-sends its synchronisation line until Octave
# answers.
#
# From CMake: velk_add_interrupt_test(<case> [RUNS n] [MIN_INTERRUPTED n]) in
# tests/CMakeLists.txt adds the test interrupt.<case> with the modules'
# folder and tests/interrupt on the path; the case file lives in
# tests/interrupt/<case>.m. check_columns_after_interrupt.m there is the
# check for modules that write whole columns in place on worker threads.
set -u

octave=octave-cli
case_name=""
paths=()
runs=12
seed=$$
timeout=60
min_interrupted=0
verbose=false
while [ $# -gt 0 ]; do
    case "$1" in
    --octave) octave=$2; shift 2 ;;
    --case) case_name=$2; shift 2 ;;
    --path) paths+=("$2"); shift 2 ;;
    --runs) runs=$2; shift 2 ;;
    --seed) seed=$2; shift 2 ;;
    --timeout) timeout=$2; shift 2 ;;
    --min-interrupted) min_interrupted=$2; shift 2 ;;
    --verbose) verbose=true; shift ;;
    *) echo "interrupt_test: unknown option $1" >&2; exit 2 ;;
    esac
done
[ -n "$case_name" ] || { echo "interrupt_test: --case is required" >&2; exit 2; }
RANDOM=$seed
# Without a history file Octave 7 fails at exit where ~/.local/share is missing.
export OCTAVE_HISTFILE=${OCTAVE_HISTFILE:-/dev/null}

work=$(mktemp -d)
out=$work/octave.out
fifo=$work/input
mkfifo "$fifo" "$work/trigger" "$work/sleeper"
exec 4<>"$work/trigger" 5<>"$work/sleeper"
octave_pid=""
cleanup() {
    exec 3>&- 4>&- 5>&- 2>/dev/null
    if [ -n "$octave_pid" ] && kill -0 "$octave_pid" 2>/dev/null; then
        kill -KILL "$octave_pid" 2>/dev/null
    fi
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "interrupt_test: FAIL ($case_name, seed $seed): $*"
    echo "---- last lines Octave printed ----"
    tail -n 30 "$out"
    exit 1
}

now_ms() { echo $(( $(date +%s%N) / 1000000 )); }

# Sends one line of Octave code.
send() { printf '%s\n' "$1" >&3 || fail "Octave no longer reads its input"; }

# Waits until Octave has printed a line starting with $1; fails after $2 seconds.
wait_for() {
    local deadline=$(( $(now_ms) + 1000 * $2 ))
    while ! grep -q -- "^$1" "$out"; do
        kill -0 "$octave_pid" 2>/dev/null || fail "Octave died while waiting for '$1'"
        [ "$(now_ms)" -lt "$deadline" ] || return 1
        sleep 0.01
    done
}

# Brings the session to a known point: re-sends a marker line, which an
# interrupt at the idle prompt may have swallowed, until Octave prints it.
sync_session() {
    local tag=$1 tries=0
    while :; do
        send "printf (\"@@sync $tag\\n\"); fflush (stdout);"
        wait_for "@@sync $tag" 1 && return 0
        tries=$((tries + 1))
        [ "$tries" -lt "$timeout" ] || fail "no answer from Octave after $timeout s ($tag): hung"
    done
}

# Sleeps a number of milliseconds without starting a process: a read with a
# timeout from a pipe that nobody writes.
sleep_ms() { read -r -t "$(printf '%d.%03d' $(($1 / 1000)) $(($1 % 1000)))" -u 5 _; }

declare -A outcomes
# One run: the call, with SIGINT sent at each of the delays given (ms after
# the call started); prints the outcome.
run_once() {
    local k=$1
    shift
    send "s = $case_name (\"setup\"); outcome = \"outside\"; printf (\"@@ready $k\\n\"); fflush (stdout);"
    wait_for "@@ready $k" "$timeout" || fail "run $k: setup did not finish"
    send "t_call = tic; unwind_protect, printf (\"@@start $k\\n\"); fflush (stdout); fputs (velk_trigger, \"go\\n\"); fflush (velk_trigger); try, s = $case_name (\"run\", s); outcome = \"normal\"; catch err, outcome = err.message; end_try_catch, unwind_protect_cleanup, printf (\"@@end $k %d\\n\", round (1000 * toc (t_call))); fflush (stdout); end_unwind_protect"
    # Octave writes to the trigger pipe just before the call: a blocking read
    # wakes at once, where polling its output would lag by many milliseconds.
    read -r -t "$timeout" -u 4 _ || fail "run $k: the call did not start"
    local previous=0
    for delay in "$@"; do
        [ "$delay" -gt "$previous" ] && sleep_ms $((delay - previous))
        previous=$delay
        kill -INT "$octave_pid" 2>/dev/null || fail "run $k: Octave died"
    done
    # The end marker, unless an interrupt swallowed it; the sync line then
    # tells a call that ended from one that hangs.
    if wait_for "@@end $k " "$timeout"; then
        call_ms=$(grep -- "^@@end $k " "$out" | tail -n 1 | cut -d' ' -f3)
    fi
    $verbose && echo "  run $k: the call took ${call_ms} ms"
    sync_session "run $k"
    # What the call printed, between its markers.
    sed -n "/^@@start $k\$/,/^@@end $k /p" "$out" | sed '1d;$d' | grep -v '^@@' > "$work/printed"
    $verbose && sed 's/^/    printed: /' "$work/printed"
    send "printed = fileread (\"$work/printed\"); problem = $case_name (\"check\", s, outcome, printed); printf (\"@@checked $k %s|%s\\n\", outcome, problem); fflush (stdout);"
    wait_for "@@checked $k " "$timeout" || fail "run $k: the check did not finish"
    local line
    line=$(grep -- "^@@checked $k " "$out" | tail -n 1)
    line=${line#@@checked $k }
    local outcome=${line%%|*} problem=${line#*|}
    case "$outcome" in
    normal) ;;
    outside) ;;
    *"CTRL-C pressed!") outcome=interrupted ;;
    *) fail "run $k (SIGINT at ms $*): the call failed with '$outcome'" ;;
    esac
    [ -z "$problem" ] || fail "run $k (SIGINT at ms $*, $outcome): $problem"
    outcomes[$outcome]=$(( ${outcomes[$outcome]:-0} + 1 ))
    echo "interrupt_test: run $k, SIGINT at ms [$*]: $outcome"
}

( exec "$octave" --norc --no-window-system --interactive --no-line-editing --quiet \
      < "$fifo" > "$out" 2>&1 ) &
octave_pid=$!
exec 3>"$fifo"
path_list=$(printf "'%s', " "${paths[@]}")
send "PS1 (\"\"); PS2 (\"\"); addpath (${path_list%, }); more off; velk_trigger = fopen (\"$work/trigger\", \"w\");"
sync_session start

# Calibration: a call without Ctrl-C gives its length (the second one, once
# the module is loaded and the pages are warm).
call_ms=0
run_once 0
run_once 1
duration=$((call_ms > 1 ? call_ms : 1))
echo "interrupt_test: one call takes about $duration ms"

for ((k = 2; k < runs + 2; ++k)); do
    case $((k % 6)) in
    0) run_once "$k" 0 ;;                                                    # at the start
    1) run_once "$k" $((duration * (10 + RANDOM % 70) / 100)) ;;             # during
    2) run_once "$k" $((duration - 30 + RANDOM % 60)) ;;                     # about the end
    3) d=$((duration * (10 + RANDOM % 60) / 100))
       run_once "$k" "$d" $((d + RANDOM % 50)) ;;                            # twice in a row
    *) run_once "$k" $((RANDOM % (duration + duration / 5 + 1))) ;;          # anywhere
    esac
done

# Ctrl-C at the idle prompt, then a normal call, which must succeed.
kill -INT "$octave_pid"
sync_session idle
run_once $((runs + 2))
[ "$(grep -c "^@@checked $((runs + 2)) normal|" "$out")" -eq 1 ] ||
    fail "the call after the interrupted ones did not end normally"

# Octave's own Ctrl-C still stops a plain loop.
send "t = tic; while (toc (t) < $timeout), endwhile; printf (\"@@loop ran out\\n\");"
sleep 0.5
loop_started=$(now_ms)
kill -INT "$octave_pid"
sync_session loop
grep -q "^@@loop ran out" "$out" && fail "Ctrl-C no longer stops an Octave loop"
echo "interrupt_test: Ctrl-C stopped a plain loop after $(( $(now_ms) - loop_started )) ms"

send "exit"
exec 3>&-
wait "$octave_pid"
status=$?
octave_pid=""
[ "$status" -eq 0 ] || fail "Octave exited with status $status"

summary=""
for o in normal interrupted outside; do
    summary="$summary ${outcomes[$o]:-0} $o,"
done
[ "${outcomes[interrupted]:-0}" -ge "$min_interrupted" ] ||
    fail "fewer than $min_interrupted runs were interrupted inside the module:${summary%,}"
$verbose && { echo "---- Octave's last lines ----"; tail -n 5 "$out"; }
echo "interrupt_test: $case_name passed:${summary%,}"
exit 0
