#!/usr/bin/env bash
# Under a real X server: five first starts, each with a store of nothing, deal at least four
# different starter boards, because the random sequence is seeded afresh at every start.
set -u
program=$1
archive=$2
probe=$3
. "$(dirname "$0")/xvfb_session.sh"
start_x

boards=""
for run in 1 2 3 4 5; do
  rm -rf "$dir/user" "$dir/machine" "$dir/data"
  start_game
  kill -TERM "$pid"
  ended_by "SIGTERM in run $run"
  board=$("$probe" state | awk '$1 == "board" { print $2 }')
  [ -n "$board" ] || fail "run $run saved no board"
  boards+="$board"$'\n'
done
different=$(printf '%s' "$boards" | sort -u | wc -l)
[ "$different" -ge 4 ] || fail "$(printf 'only %s different starter boards in five starts:\n%s' "$different" "$boards")"
echo "ok: $different different starter boards in five first starts"
