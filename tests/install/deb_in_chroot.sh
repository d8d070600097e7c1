#!/usr/bin/env bash
# Tries the Debian package on a fresh Debian 12, the way a player would get it. Run by hand as
# root (it is not part of CI: it downloads a whole system):
#
#   tests/install/deb_in_chroot.sh build/gyrotide_0.1_amd64.deb [OUTPUT-FOLDER]
#
# 1. debootstrap makes a minimal Debian 12 in a temporary folder (from $MIRROR, or the first
#    Debian mirror in this machine's apt sources);
# 2. `apt install ./gyrotide_*.deb` there, noting which packages it brought in;
# 3. a player in the group games runs `gyrotide` under Xvfb, clicks a tile (pictures before and
#    after go to OUTPUT-FOLDER) and ends it with SIGTERM;
# 4. `apt remove gyrotide` and a look for anything left behind, then `apt purge gyrotide`.
# The chroot is deleted at the end unless KEEP_CHROOT=1.
set -euo pipefail

[ "$(id -u)" -eq 0 ] || { echo "run as root (debootstrap and chroot need it)" >&2; exit 2; }
[ $# -ge 1 ] && [ -f "$1" ] || { echo "usage: $0 PACKAGE.deb [OUTPUT-FOLDER]" >&2; exit 2; }
command -v debootstrap >/dev/null || { echo "apt-get install debootstrap first" >&2; exit 2; }
deb=$(realpath "$1")
out=$(realpath -m "${2:-gyrotide-chroot-report}")
mkdir -p "$out"

host_mirror() {
  local sources=/etc/apt/sources.list.d/debian.sources
  if [ -f "$sources" ]; then
    awk '/^URIs:/ {print $2; exit}' "$sources"
  elif [ -f /etc/apt/sources.list ]; then
    awk '$1 == "deb" && $2 !~ /security/ {print $2; exit}' /etc/apt/sources.list
  fi
}
mirror=${MIRROR:-$(host_mirror)}
[ -n "$mirror" ] || { echo "no Debian mirror known: set MIRROR" >&2; exit 2; }

root=$(mktemp -d /tmp/gyrotide-chroot.XXXXXX)
chmod 755 "$root"  # the chroot's / : players must get through it
mounted=()
cleanup() {
  local i
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do umount -l "${mounted[i]}" 2>/dev/null || true; done
  if [ "${KEEP_CHROOT:-0}" = 1 ]; then echo "chroot kept in $root"; else rm -rf "$root"; fi
}
trap cleanup EXIT
step() { echo; echo "== $*"; }
in_root() { chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 "$@"; }

step "debootstrap bookworm from $mirror"
debootstrap --variant=minbase bookworm "$root" "$mirror" >"$out/debootstrap.log" 2>&1 ||
  { tail -20 "$out/debootstrap.log"; exit 1; }
for fs in proc sys dev dev/pts; do
  mount --bind "/$fs" "$root/$fs"
  mounted+=("$root/$fs")
done
in_root apt-get update -q >/dev/null

# Everything on the system before the game arrives, to compare with after its removal.
snapshot() {
  in_root find / -xdev \( -path /proc -o -path /sys -o -path /dev -o -path /tmp -o -path /root \
    -o -path /var/cache -o -path /var/lib/apt -o -path /var/lib/dpkg -o -path /var/log \) -prune \
    -o -print | sort
}
snapshot >"$out/files-before.txt"
in_root dpkg-query -W -f '${Package}\n' | sort >"$out/packages-before.txt"

step "apt install ./$(basename "$deb")"
cp "$deb" "$root/tmp/"
in_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "/tmp/$(basename "$deb")" \
  >"$out/install.log" 2>&1 || { tail -30 "$out/install.log"; exit 1; }
in_root dpkg-query -W -f '${Package}\n' | sort >"$out/packages-with-game.txt"
echo "packages brought in: $(comm -13 "$out/packages-before.txt" "$out/packages-with-game.txt" | wc -l)"
echo "game's own dependencies: $(in_root dpkg-query -W -f '${Depends}' gyrotide)"
echo "recommends: $(in_root dpkg-query -W -f '${Recommends}' gyrotide) (apt installs them by default)"
echo "score folder: $(in_root stat -c '%U:%G %a %n' /var/games/gyrotide)"

step "a player runs gyrotide under Xvfb and clicks a tile"
# The tools to drive and photograph the window; installed after the game, so they were not
# counted among its dependencies.
in_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends \
  xvfb xdotool x11-apps netpbm >"$out/tools.log" 2>&1 || { tail -30 "$out/tools.log"; exit 1; }
in_root useradd --create-home --groups games player
cat >"$root/tmp/play.sh" <<'EOF'
#!/bin/sh
# As the player: start the game from the menu's command, click the middle tile, end it.
set -u
cd "$HOME"
echo "gyrotide on the player's PATH: $(command -v gyrotide)"
Xvfb :7 -screen 0 1024x768x24 -nolisten tcp >/tmp/xvfb.log 2>&1 &
xpid=$!
export DISPLAY=:7
sleep 2
SDL_AUDIODRIVER=dummy gyrotide >/tmp/game.log 2>&1 &
pid=$!
window=""
for _ in $(seq 100); do
  window=$(xdotool search --name '^Gyrotide$' 2>/dev/null | head -n 1)
  [ -n "$window" ] && break
  sleep 0.2
done
[ -n "$window" ] || { echo "no window appeared"; cat /tmp/game.log; kill "$xpid"; exit 1; }
sleep 2
echo "window: $(xdotool getwindowgeometry "$window" | tr '\n' ' ')"
xwd -silent -id "$window" | xwdtopnm 2>/dev/null | pnmtopng >/tmp/before.png
# The middle tile of the board, at (405, 235) in the 640 by 480 picture.
xdotool mousemove --window "$window" 405 235 click 1
sleep 1.5
xwd -silent -id "$window" | xwdtopnm 2>/dev/null | pnmtopng >/tmp/after.png
if cmp -s /tmp/before.png /tmp/after.png; then echo "the click changed nothing on screen"; else
  echo "the click changed the picture"; fi
kill -TERM "$pid"
wait "$pid"
echo "exit code after SIGTERM: $?"
echo "game's output: $(cat /tmp/game.log)"
kill "$xpid"
echo "player's files:"
find "$HOME/.config" "$HOME/.local" -type f 2>/dev/null || true
echo "shared folder:"
ls -la /var/games/gyrotide
EOF
chmod 755 "$root/tmp/play.sh"
in_root su - player -c /tmp/play.sh 2>&1 | tee "$out/play.log"
cp "$root/tmp/before.png" "$root/tmp/after.png" "$out/" 2>/dev/null || true

step "apt remove gyrotide"
in_root env DEBIAN_FRONTEND=noninteractive apt-get remove -y -q gyrotide >"$out/remove.log" 2>&1 ||
  { tail -30 "$out/remove.log"; exit 1; }
in_root apt-get autoremove -y -q >>"$out/remove.log" 2>&1
in_root env DEBIAN_FRONTEND=noninteractive apt-get purge -y -q xvfb xdotool x11-apps netpbm \
  >>"$out/remove.log" 2>&1
in_root apt-get autoremove --purge -y -q >>"$out/remove.log" 2>&1
in_root userdel --remove player 2>/dev/null || true
snapshot >"$out/files-after-remove.txt"
echo "left behind (besides apt's and dpkg's own records):"
comm -13 "$out/files-before.txt" "$out/files-after-remove.txt" | tee "$out/left-behind.txt"

step "apt purge gyrotide"
in_root env DEBIAN_FRONTEND=noninteractive apt-get purge -y -q gyrotide >"$out/purge.log" 2>&1 || true
if [ -e "$root/var/games/gyrotide" ]; then echo "/var/games/gyrotide is still there"; else
  echo "/var/games/gyrotide is gone"; fi
echo
echo "report in $out"
