#!/usr/bin/env bash
# A game at rest costs nothing: on a settled board, with no tip open and the music at 0, the
# main thread sleeps until something happens. Its voluntary context switches over 10 s count
# its wake-ups; a loop that ran frames at the display's rate would make about 600.
set -u
program=$1
archive=$2
probe=$3
. "$(dirname "$0")/xvfb_session.sh"
"$probe" rest || fail "could not prepare the store"
start_x
start_game
sleep 2  # the board's deal has settled long before
switches() { awk '/^voluntary_ctxt_switches/ {print $2}' "/proc/$pid/task/$pid/status"; }
before=$(switches)
sleep 10
after=$(switches)
[ -n "$before" ] && [ -n "$after" ] || fail "no counts for the main thread"
woke=$((after - before))
echo "main thread woke $woke times in 10 s"
[ "$woke" -le 50 ] || fail "the main thread woke $woke times in 10 s at rest"
kill -TERM "$pid"
ended_by "the end request"
