#!/usr/bin/env bash
# Tries the Debian package on a fresh Debian 12, the way a player would get it. Run by hand as
# root (it is not part of CI: it downloads a whole system):
#
#   tests/install/deb_in_chroot.sh build/gyrotide_1.06_amd64.deb [OUTPUT-FOLDER]
#
# 1. debootstrap makes a minimal Debian 12 in a temporary folder (from $MIRROR, or the first
#    Debian mirror in this machine's apt sources);
# 2. on that fresh system, `apt install ./gyrotide_*.deb` (noting which packages it brings in),
#    then `apt remove gyrotide` and `apt autoremove`: the system should be as it was before;
# 3. with Xvfb and xdotool added, the game installed again: a player in the group games runs
#    `gyrotide` under Xvfb, clicks a tile (pictures before and after go to OUTPUT-FOLDER) and
#    ends it with SIGTERM; then `apt remove gyrotide` keeps only the player's settings and
#    scores, and `apt purge gyrotide` (with `apt autoremove`) deletes the shared scores and
#    leaves the system as it was before the game came, but for the player's own files: the
#    script fails otherwise.
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
  # Never delete through a mount that is still there: it would be this machine's /dev or /proc.
  for fs in proc sys dev/pts dev; do
    if mountpoint -q "$root/$fs"; then echo "$root/$fs is still mounted: chroot kept"; return; fi
  done
  if [ "${KEEP_CHROOT:-0}" = 1 ]; then echo "chroot kept in $root"; else rm -rf --one-file-system "$root"; fi
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

# Every path on the system, less the places the package tools and the session keep their own.
snapshot() {
  in_root find / -xdev \( -path /proc -o -path /sys -o -path /dev -o -path /tmp -o -path /root \
    -o -path /run -o -path /var/cache -o -path /var/lib/apt -o -path /var/lib/dpkg \
    -o -path /var/log \) -prune -o -print | sort
}
packages() { in_root dpkg-query -W -f '${db:Status-Abbrev} ${Package}\n' | awk '$1 == "ii" {print $2}'; }
apt() { in_root env DEBIAN_FRONTEND=noninteractive apt-get -y -q "$@"; }
cp "$deb" "$root/tmp/"
package="/tmp/$(basename "$deb")"

step "fresh system: apt install ./$(basename "$deb")"
snapshot >"$out/files-fresh.txt"
packages >"$out/packages-fresh.txt"
apt install "$package" >"$out/install.log" 2>&1 || { tail -30 "$out/install.log"; exit 1; }
packages >"$out/packages-with-game.txt"
comm -13 "$out/packages-fresh.txt" "$out/packages-with-game.txt" >"$out/packages-brought-in.txt"
echo "packages brought in: $(wc -l <"$out/packages-brought-in.txt") (see packages-brought-in.txt)"
echo "Depends: $(in_root dpkg-query -W -f '${Depends}' gyrotide)"
echo "Recommends: $(in_root dpkg-query -W -f '${Recommends}' gyrotide) (apt installs these too)"
echo "score folder: $(in_root stat -c '%U:%G %a %n' /var/games/gyrotide)"

step "fresh system: apt remove gyrotide, apt autoremove"
apt remove gyrotide >"$out/remove-fresh.log" 2>&1 || { tail -30 "$out/remove-fresh.log"; exit 1; }
apt autoremove --purge >>"$out/remove-fresh.log" 2>&1
packages >"$out/packages-after-remove.txt"
snapshot >"$out/files-after-remove.txt"
comm -13 "$out/files-fresh.txt" "$out/files-after-remove.txt" >"$out/left-over-fresh.txt"
# apt keeps a package that another installed one recommends (ca-certificates, perl): those and
# their files are apt's choice, listed in the report folder; the game's own must all be gone.
echo "packages kept by apt: $(comm -13 "$out/packages-fresh.txt" "$out/packages-after-remove.txt" | tr '\n' ' ')"
echo "the game's own paths left over:"
grep -e gyrotide -e '^/var/games' "$out/left-over-fresh.txt" || echo "(none)"

step "a player runs gyrotide under Xvfb and clicks a tile"
apt install --no-install-recommends xvfb xdotool x11-apps netpbm >"$out/tools.log" 2>&1 ||
  { tail -30 "$out/tools.log"; exit 1; }
in_root useradd --create-home --groups games player
snapshot >"$out/files-before-game.txt"
apt install "$package" >"$out/install-again.log" 2>&1 || { tail -30 "$out/install-again.log"; exit 1; }
cp "$(dirname "$0")/play_in_chroot.sh" "$root/tmp/play.sh"
chmod 755 "$root/tmp/play.sh"
in_root su - player -c /tmp/play.sh 2>&1 | tee "$out/play.log"
cp "$root/tmp/before.png" "$root/tmp/after.png" "$out/" 2>/dev/null || true

step "apt remove gyrotide, after play"
apt remove gyrotide >"$out/remove.log" 2>&1 || { tail -30 "$out/remove.log"; exit 1; }
echo "the game's files still there:"
in_root find /usr/games /usr/lib/games /usr/share/games /usr/share/applications \
  /usr/share/metainfo /usr/share/icons /usr/share/man/man6 -name '*gyrotide*' 2>/dev/null || true
echo "players' settings and scores kept:"
in_root find /home/player/.config /home/player/.local /var/games 2>/dev/null || true

step "apt purge gyrotide, apt autoremove"
apt purge gyrotide >"$out/purge.log" 2>&1 || { tail -30 "$out/purge.log"; exit 1; }
apt autoremove --purge >>"$out/purge.log" 2>&1
if [ -e "$root/var/games/gyrotide" ]; then echo "/var/games/gyrotide is still there"; else
  echo "/var/games/gyrotide is gone"; fi
if [ -e "$root/var/games" ]; then echo "/var/games is still there"; else echo "/var/games is gone"; fi
# Against the system as it was before the game came: only the player's own files are new, and
# nothing that was there is missing.
snapshot >"$out/files-after-purge.txt"
comm -13 "$out/files-before-game.txt" "$out/files-after-purge.txt" >"$out/left-over-purge.txt"
comm -23 "$out/files-before-game.txt" "$out/files-after-purge.txt" >"$out/missing-after-purge.txt"
echo "the player's own files left (left-over-purge.txt):"
grep -E '^/home/player(/|$)' "$out/left-over-purge.txt" || echo "(none)"
others=$(grep -vE '^/home/player(/|$)' "$out/left-over-purge.txt" || true)
missing=$(cat "$out/missing-after-purge.txt")
echo
echo "report in $out"
[ -z "$others" ] || { echo "left over after purging, not the player's:"; echo "$others"; exit 1; }
[ -z "$missing" ] || { echo "gone after purging, though there before:"; echo "$missing"; exit 1; }
echo "purged: nothing of the game is left but the player's own files"
