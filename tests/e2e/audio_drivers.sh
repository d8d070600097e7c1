#!/usr/bin/env bash
# The real program opens SDL's audio device at start and closes it at exit without a word,
# with the dummy and disk drivers, and runs silently, also without a word, when there is no
# audio device at all. The disk driver's output file shows the mixer running.
set -u
program=$1
archive=$2
dir=$(mktemp -d)
cleanup() { [ -n "${pid:-}" ] && kill -9 "$pid" 2>/dev/null; rm -rf "$dir"; }
trap cleanup EXIT
cp "$archive" "$dir/"
cd "$dir"
# A store of its own: the tests never touch the settings or scores of the person running them.
export XDG_CONFIG_HOME=$dir/config XDG_DATA_HOME=$dir/data
export GYROTIDE_USER_STORE=$dir/user GYROTIDE_MACHINE_STORE=$dir/machine

run() {  # audio driver; waits for the program to be under way, then ends it politely
  local driver=$1
  rm -f sdlaudio.raw stderr.txt
  # SDL's own allocations stay until exit; the unit tests check the game's leaks.
  ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0 SDL_VIDEODRIVER=dummy \
    SDL_AUDIODRIVER=$driver SDL_DISKAUDIOFILE="$dir/sdlaudio.raw" "$program" 2>stderr.txt &
  pid=$!
  # About a second, or until the disk driver has written something (at most ten seconds).
  for i in $(seq 100); do
    if [ "$driver" = disk ]; then
      [ -s sdlaudio.raw ] && break
    elif [ "$i" -gt 10 ]; then
      break
    fi
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$pid" 2>/dev/null || { echo "$driver: the program ended by itself"; cat stderr.txt; exit 1; }
  kill -TERM "$pid"
  wait "$pid"
  local code=$?
  pid=""
  [ "$code" -eq 0 ] || { echo "$driver: exit code $code"; cat stderr.txt; exit 1; }
  # SDL's disk driver announces itself; anything else would be ours.
  grep -v -e '^CRITICAL: You are using the SDL disk' -e '^CRITICAL:  Writing to file' stderr.txt \
    >ours.txt
  [ ! -s ours.txt ] || { echo "$driver: unexpected output:"; cat ours.txt; exit 1; }
  if [ "$driver" = disk ]; then
    [ -s sdlaudio.raw ] || { echo "disk: no audio was written"; exit 1; }
  fi
  echo "ok: $driver"
}

run dummy
run disk
run no-such-driver
