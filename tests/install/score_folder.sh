#!/usr/bin/env bash
# The install step that makes the shared score folder acts only for root installing straight
# into /usr or /usr/local, and never fails an install: run here against a stand-in folder.
set -u
script=$1
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
fail() { echo "$*"; exit 1; }
folder="$root/var/games/gyrotide"

step() {  # prefix, then more words for env
  local prefix=$1
  shift
  env "$@" cmake -DCMAKE_INSTALL_PREFIX="$prefix" -DGYROTIDE_SCORE_FOLDER="$folder" -P "$script" \
    >"$root/log" 2>&1 || { cat "$root/log"; fail "the step failed for $prefix $*"; }
}

# A temporary prefix, a home folder, a package being staged: the system is left alone.
step "$root/prefix"
step "$HOME/.local"
step /usr DESTDIR="$root/staging"
[ ! -e "$folder" ] || fail "made the folder for a private or staged install"

step /usr/local
if [ "$(id -u)" -ne 0 ]; then
  [ ! -e "$folder" ] || fail "made the folder without being root"
  echo "ok (not root: the folder is left to a root install)"
  exit 0
fi
[ -d "$folder" ] || fail "root install into /usr/local made no folder"
getent group games >/dev/null || { echo "ok (no group games here)"; exit 0; }
[ "$(stat -c '%G %a' "$folder")" = "games 2775" ] || fail "folder is $(stat -c '%G %a' "$folder")"
# Again over the existing folder, with scores in it: kept, and the mode mended.
echo scores >"$folder/table"
chmod 700 "$folder"
step /usr
[ "$(stat -c '%G %a' "$folder")" = "games 2775" ] || fail "mode not mended: $(stat -c '%a' "$folder")"
[ "$(cat "$folder/table")" = scores ] || fail "the scores were touched"
echo "ok"
