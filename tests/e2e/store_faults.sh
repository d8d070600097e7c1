#!/usr/bin/env bash
# The real program and a store it cannot use as it would like:
# - the player's settings file and the shared table exist but the player may not read them:
#   after a run both are byte for byte as they were, and the table is in the player's fallback;
# - another process holds the machine folder's lock: the game still ends within 3 s of
#   SIGTERM and keeps the table in the fallback.
# A player who may not read a file needs a user other than root: as root the game runs as
# "nobody"; otherwise the files are made unreadable to the user running the test.
set -u
program=$1
archive=$2
probe=$3
dir=$(mktemp -d)
cleanup() {
  [ -n "${pid:-}" ] && kill -9 "$pid" 2>/dev/null
  [ -n "${lock_pid:-}" ] && kill "$lock_pid" 2>/dev/null
  rm -rf "$dir"
}
trap cleanup EXIT
chmod 755 "$dir"
cp "$archive" "$dir/"
cd "$dir"
export XDG_CONFIG_HOME=$dir/config XDG_DATA_HOME=$dir/data
export GYROTIDE_USER_STORE=$dir/user GYROTIDE_MACHINE_STORE=$dir/machine
key=Software.Zapfinch.Gyrotide
fail() { echo "$1"; cat "$dir/stderr.txt" 2>/dev/null; exit 1; }

as_player=()
if [ "$(id -u)" -eq 0 ]; then
  command -v setpriv >/dev/null || { echo "setpriv missing: skipped"; exit 77; }
  as_player=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi

# Starts the game, waits about a second, sends SIGTERM and wants it gone within $1 seconds.
run_and_term() {
  "${as_player[@]}" env SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy \
    ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0 "$program" 2>stderr.txt &
  pid=$!
  sleep 1
  kill -0 "$pid" 2>/dev/null || fail "the program ended by itself"
  local asked
  asked=$(date +%s%N)
  kill -TERM "$pid"
  for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.05; done
  kill -0 "$pid" 2>/dev/null && fail "the program went on for 5 s after SIGTERM"
  wait "$pid"
  local code=$?
  pid=""
  [ "$code" -eq 0 ] || fail "exit code $code"
  local took=$((($(date +%s%N) - asked) / 1000000))
  [ "$took" -le "$1"000 ] || fail "the program took $took ms to end after SIGTERM"
}
# The player's folders, theirs to write in.
own_folders() {
  mkdir -p "$dir/user" "$dir/machine" "$dir/data"
  [ ${#as_player[@]} -eq 0 ] || chown nobody:nogroup "$dir/user" "$dir/machine" "$dir/data"
}

# Unreadable files.
"$probe" prepare || fail "cannot prepare the store"
own_folders
cp "$dir/user/$key" user.before
cp "$dir/machine/$key" machine.before
chmod 000 "$dir/user/$key" "$dir/machine/$key"
run_and_term 5
chmod 600 "$dir/user/$key" "$dir/machine/$key"
cmp -s user.before "$dir/user/$key" || fail "the unreadable settings file was changed"
cmp -s machine.before "$dir/machine/$key" || fail "the unreadable shared table was changed"
[ -f "$dir/data/gyrotide/$key" ] || fail "the table was not kept in the fallback"
grep -q "cannot read $dir/user/$key" stderr.txt || fail "no word on standard error"
echo "ok: unreadable store files are left as they were"

# The machine folder's lock held by another process.
rm -rf "$dir/user" "$dir/machine" "$dir/data"
"$probe" prepare || fail "cannot prepare the store"
own_folders
cp "$dir/machine/$key" machine.before
flock --no-fork "$dir/machine" sleep 60 </dev/null >/dev/null 2>&1 &
lock_pid=$!
sleep 0.2
run_and_term 3
kill "$lock_pid"
lock_pid=""
cmp -s machine.before "$dir/machine/$key" || fail "the shared table was written without its lock"
[ -f "$dir/data/gyrotide/$key" ] || fail "the table was not kept in the fallback"
echo "ok: with the lock held elsewhere the game ends in time and keeps the table"
