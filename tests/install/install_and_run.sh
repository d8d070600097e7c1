#!/usr/bin/env bash
# `cmake --install` into a fresh prefix (its folder name given, spaces and all) lays the game out
# as Debian lays out its games, and nothing else. The launcher, started from another folder,
# directly and through a relative symbolic link, runs the installed program inside its data
# folder, where it opens its archive and music, says nothing, ends with 0 on SIGTERM and leaves
# its settings in the player's store.
set -u
build=$1
name=$2
app_id=$3
root=$(cd "$(mktemp -d)" && pwd -P)
cleanup() { [ -n "${pid:-}" ] && kill -9 "$pid" 2>/dev/null; rm -rf "$root"; }
trap cleanup EXIT
fail() { echo "$name: $*"; exit 1; }

prefix="$root/$name"
cmake --install "$build" --prefix "$prefix" >"$root/install.log" 2>&1 ||
  { cat "$root/install.log"; fail "cmake --install failed"; }
data="$prefix/share/games/gyrotide"

# Every installed file, and no other.
expected=(
  games/gyrotide
  lib/games/gyrotide/gyrotide
  share/games/gyrotide/gyrotide.zap
  share/games/gyrotide/music.zap
  "share/applications/$app_id.desktop"
  "share/metainfo/$app_id.metainfo.xml"
  share/man/man6/gyrotide.6.gz
  share/doc/gyrotide/copyright
  share/doc/gyrotide/changelog.gz
  share/lintian/overrides/gyrotide
)
for size in 16 32 48 64 128 256; do
  expected+=("share/icons/hicolor/${size}x${size}/apps/gyrotide.png")
done
# The manual, page and pictures, as the build made it.
[ -f "$build/manual/index.html" ] || fail "the build made no manual"
while IFS= read -r file; do expected+=("share/games/gyrotide/manual/$file"); done \
  < <(cd "$build/manual" && find . -type f | sed 's|^\./||')
diff <(printf '%s\n' "${expected[@]}" | sort) <(cd "$prefix" && find . -type f | sed 's|^\./||' | sort) ||
  fail "installed files differ from the expected ones (< expected, > installed)"
for program in games/gyrotide lib/games/gyrotide/gyrotide; do
  [ -x "$prefix/$program" ] || fail "$program is not executable"
done
for file in gyrotide.zap music.zap; do
  cmp -s "$build/$file" "$data/$file" || fail "$file differs from the built one"
done
diff -r "$build/manual" "$data/manual" >/dev/null || fail "the manual differs from the built one"
for size in 16 32 48 64 128 256; do
  cmp -s "$build/icons/hicolor/${size}x${size}/apps/gyrotide.png" \
    "$prefix/share/icons/hicolor/${size}x${size}/apps/gyrotide.png" || fail "icon $size differs"
done
# The shared score folder is made only by a root install into the system.
! grep -q 'Shared high-score folder' "$root/install.log" || fail "the install made the score folder"

# The desktop entry names this installation's launcher, quoted when the path needs it, and is
# valid as installed.
entry="$prefix/share/applications/$app_id.desktop"
launcher="$prefix/games/gyrotide"
case $launcher in
  *[!A-Za-z0-9/._+-]*) exec_line="Exec=\"$launcher\"" ;;
  *) exec_line="Exec=$launcher" ;;
esac
grep -qxF "$exec_line" "$entry" || { grep '^Exec' "$entry"; fail "expected $exec_line"; }
findings=$(desktop-file-validate "$entry" 2>&1) || fail "desktop-file-validate: $findings"
[ -z "$findings" ] || fail "desktop-file-validate: $findings"
# The metainfo with the desktop entry it launches, as installed. The validator of Debian 12
# does not know the metainfo's <developer> block yet (metainfo_valid.sh checks that it is the
# only tag it does not know).
appstreamcli validate-tree --no-net --strict --override=unknown-tag=pedantic "$prefix" \
  >"$root/appstream.txt" 2>&1 ||
  { cat "$root/appstream.txt"; fail "appstreamcli validate-tree failed"; }

mkdir -p "$root/elsewhere" "$root/bin" "$root/home"
# The game may write only to its stores: never into the installation (its current folder) or
# the folder it was started from.
(cd "$prefix" && find . -printf '%p %s %T@\n' | sort) >"$root/installed.txt"

run() {  # how the launcher is named, from the folder "elsewhere"
  local how=$1
  rm -rf "$root/user" "$root/machine" "$root/stderr.txt"
  mkdir -p "$root/machine"
  # SDL's own allocations stay until exit; the unit tests check the game's leaks.
  (cd "$root/elsewhere" && exec env HOME="$root/home" XDG_CONFIG_HOME= XDG_DATA_HOME= \
    GYROTIDE_USER_STORE="$root/user" GYROTIDE_MACHINE_STORE="$root/machine" \
    SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy \
    ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0 \
    "$how" 2>"$root/stderr.txt") &
  pid=$!
  # The game keeps its archive open and streams its music from disk: wait until both are open.
  local open="" i
  for i in $(seq 200); do
    kill -0 "$pid" 2>/dev/null || break
    open=$(find "/proc/$pid/fd" -type l -lname "$data/*" -printf '%l\n' 2>/dev/null)
    grep -qxF "$data/gyrotide.zap" <<<"$open" && grep -qxF "$data/music.zap" <<<"$open" && break
    sleep 0.1
  done
  kill -0 "$pid" 2>/dev/null || { cat "$root/stderr.txt"; fail "$how: the game ended by itself"; }
  grep -qxF "$data/gyrotide.zap" <<<"$open" || fail "$how: the installed archive is not open"
  grep -qxF "$data/music.zap" <<<"$open" || fail "$how: the installed music is not open"
  [ "$(readlink "/proc/$pid/cwd")" = "$data" ] || fail "$how: not running in $data"
  [ "$(readlink "/proc/$pid/exe")" = "$prefix/lib/games/gyrotide/gyrotide" ] ||
    fail "$how: the launcher did not hand over to the installed program"
  kill -TERM "$pid"
  wait "$pid"
  local code=$?
  pid=""
  [ "$code" -eq 0 ] || { cat "$root/stderr.txt"; fail "$how: exit code $code after SIGTERM"; }
  [ ! -s "$root/stderr.txt" ] || { cat "$root/stderr.txt"; fail "$how: unexpected output"; }
  diff "$root/installed.txt" <(cd "$prefix" && find . -printf '%p %s %T@\n' | sort) ||
    fail "$how: the game changed its installation"
  [ -z "$(ls -A "$root/elsewhere")" ] ||
    fail "$how: the game wrote into the folder it was started from"
  # Ended politely, it saved the player's settings where they were sent.
  [ -s "$root/user/Software.Zapfinch.Gyrotide" ] || fail "$how: no settings store in $root/user"
  echo "ok: $name, started as $how"
}

run "$launcher"
# A link from another folder, itself named relatively, still leads to the game.
ln -s "../$name/games/gyrotide" "$root/bin/gyrotide"
run ../bin/gyrotide
