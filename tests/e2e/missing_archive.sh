#!/usr/bin/env bash
# Started in a folder without its archive, the program says so, opens no window and exits 0.
# With "folder" as second argument, a folder named like the archive stands in its place.
set -u
program=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cd "$dir"
# A store of its own: the tests never touch the settings or scores of the person running them.
export XDG_CONFIG_HOME=$dir/config XDG_DATA_HOME=$dir/data
export GYROTIDE_USER_STORE=$dir/user GYROTIDE_MACHINE_STORE=$dir/machine
[ "${2:-}" = folder ] && mkdir gyrotide.zap
SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy timeout 20 "$program" 2>stderr.txt
code=$?
expected="Gyromania: Gyromania can't find the resource file 'gyrotide.zap'!"
if [ "$code" -ne 0 ]; then echo "exit code $code, expected 0"; exit 1; fi
if ! grep -qxF "$expected" stderr.txt; then
  echo "unexpected message:"; cat stderr.txt; exit 1
fi
echo "ok"
