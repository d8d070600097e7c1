#!/usr/bin/env bash
# Pipes that nobody writes to, under the names of the archive, the music and a loose picture:
# the program opens none of them as a file, so none can hold it up. Without a real archive it
# says the archive is missing and ends within a second; with one it is under way within a
# second and ends on a polite SIGTERM, saving as ever.
set -u
program=$1
archive=$2
dir=$(mktemp -d)
cleanup() { [ -n "${pid:-}" ] && kill -9 "$pid" 2>/dev/null; rm -rf "$dir"; }
trap cleanup EXIT
cd "$dir"
# A store of its own: the tests never touch the settings or scores of the person running them.
export XDG_CONFIG_HOME=$dir/config XDG_DATA_HOME=$dir/data
export GYROTIDE_USER_STORE=$dir/user GYROTIDE_MACHINE_STORE=$dir/machine
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
# SDL's own allocations stay until exit; the unit tests check the game's leaks.
export ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0
mkfifo gyrotide.zap music.zap background.png

fail() { echo "$1"; cat stderr.txt; exit 1; }

# True once the program has ended, waiting at most $1 tenths of a second.
ends_within() {
  for _ in $(seq "$1"); do
    kill -0 "$pid" 2>/dev/null || return 0
    sleep 0.1
  done
  ! kill -0 "$pid" 2>/dev/null
}

# The result of the program that has just ended.
result() {
  wait "$pid"
  local code=$?
  pid=""
  return "$code"
}

"$program" 2>stderr.txt &
pid=$!
ends_within 10 || fail "still running after a second with a pipe for its archive"
result || fail "exit code $?, expected 0"
grep -qxF "Gyromania: Gyromania can't find the resource file 'gyrotide.zap'!" stderr.txt ||
  fail "the missing archive was not reported:"
echo "ok: a pipe for the archive is reported as a missing archive"

rm gyrotide.zap
cp "$archive" gyrotide.zap
"$program" 2>stderr.txt &
pid=$!
sleep 1
kill -0 "$pid" 2>/dev/null || fail "the program ended by itself"
kill -TERM "$pid"
ends_within 30 || fail "still running 3 s after SIGTERM: held up by a pipe?"
result || fail "exit code $?, expected 0"
[ -n "$(ls -A user 2>/dev/null)" ] || fail "nothing was saved on the way out"
[ ! -s stderr.txt ] || fail "unexpected output:"
echo "ok: pipes for the music and the background leave the game running"
