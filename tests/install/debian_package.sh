#!/usr/bin/env bash
# `cpack -G DEB` builds gyrotide_<version>_<arch>.deb: installed under /usr, exactly the
# installed files with the copyright and changelog a distribution asks for, the program
# stripped, the program's libraries among its dependencies, the maintainer scripts that make
# and remove the shared score folder, and nothing lintian calls an error or a warning.
set -u
build=$1
version=$2
app_id=$3
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
fail() { echo "$*"; exit 1; }

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$root" >"$root/cpack.log" 2>&1 ||
  { cat "$root/cpack.log"; fail "cpack failed"; }
deb="$root/gyrotide_${version}_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || { ls "$root"; fail "no $(basename "$deb")"; }

field() { dpkg-deb --field "$deb" "$1"; }
[ "$(field Package)" = gyrotide ] || fail "package name $(field Package)"
[ "$(field Version)" = "$version" ] || fail "version $(field Version)"
[ "$(field Section)" = games ] || fail "section $(field Section)"
# Computed from the program's shared libraries, so each library package is named.
depends=$(field Depends)
names=$(sed 's/ *([^)]*)//g; s/, */\n/g' <<<"$depends")
for library in libc6 libstdc++6 libsdl2-2.0-0 libpng16-16 libvorbisfile3; do
  grep -qxF "$library" <<<"$names" || fail "Depends lacks $library: $depends"
done

# The data part: every file under /usr as `cmake --install` lays it out, owned by root.
expected=(
  ./usr/games/gyrotide
  ./usr/lib/games/gyrotide/gyrotide
  ./usr/share/games/gyrotide/gyrotide.zap
  ./usr/share/games/gyrotide/music.zap
  "./usr/share/applications/$app_id.desktop"
  "./usr/share/metainfo/$app_id.metainfo.xml"
  ./usr/share/man/man6/gyrotide.6.gz
  ./usr/share/doc/gyrotide/copyright
  ./usr/share/doc/gyrotide/changelog.gz
  ./usr/share/lintian/overrides/gyrotide
)
for size in 16 32 48 64 128 256; do
  expected+=("./usr/share/icons/hicolor/${size}x${size}/apps/gyrotide.png")
done
# The manual, page and pictures, as the build made it.
[ -f "$build/manual/index.html" ] || fail "the build made no manual"
while IFS= read -r file; do expected+=("./usr/share/games/gyrotide/manual/$file"); done \
  < <(cd "$build/manual" && find . -type f | sed 's|^\./||')
dpkg-deb --contents "$deb" >"$root/contents.txt"
diff <(printf '%s\n' "${expected[@]}" | sort) \
  <(awk '$1 ~ /^-/ {print $6}' "$root/contents.txt" | sort) ||
  fail "packaged files differ from the expected ones (< expected, > packaged)"
awk '$2 != "root/root" {print; bad = 1} END {exit bad}' "$root/contents.txt" ||
  fail "files not owned by root"
for program in ./usr/games/gyrotide ./usr/lib/games/gyrotide/gyrotide; do
  grep -qE "^-rwxr-xr-x .* $program\$" "$root/contents.txt" || fail "$program is not mode 755"
done

# Installed into /usr, the launcher is on every user's PATH and the desktop entry names it so.
dpkg-deb --extract "$deb" "$root/data"
grep -qx 'Exec=gyrotide' "$root/data/usr/share/applications/$app_id.desktop" ||
  fail "the packaged desktop entry does not start gyrotide from the PATH"

# The program stripped of its symbols and of the compiler's notes.
sections=$(readelf --section-headers --wide "$root/data/usr/lib/games/gyrotide/gyrotide")
for section in .symtab .comment .note .debug_info; do
  ! grep -qE " \\$section +" <<<"$sections" || fail "the packaged program keeps its $section section"
done
# A native package's changelog, its newest entry this version.
[ "$(zcat "$root/data/usr/share/doc/gyrotide/changelog.gz" | head -1)" = \
  "gyrotide ($version) unstable; urgency=medium" ] || fail "the changelog does not begin with $version"
head -1 "$root/data/usr/share/doc/gyrotide/copyright" |
  grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
  fail "the copyright file is not in the machine-readable format"

dpkg-deb --control "$deb" "$root/control"
for script in postinst postrm; do
  [ -x "$root/control/$script" ] || fail "no executable $script"
done
grep -q 'chmod 2775' "$root/control/postinst" || fail "postinst does not set up the score folder"
grep -qE '^d.* \./var/games/gyrotide/$' "$root/contents.txt" || fail "the score folder is not packaged"

# Debian's own checks: no error and no warning; the other remarks, overridden ones too, are
# shown.
lintian --display-info --pedantic --show-overrides --fail-on error,warning "$deb" >"$root/lintian.txt" 2>&1
status=$?
cat "$root/lintian.txt"
[ "$status" -eq 0 ] || fail "lintian reports errors or warnings"
echo "ok: $(basename "$deb"), Depends: $depends"
