#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine is missing, builds, and then either starts the game
# ("play") or runs every test on a normal build, nearly all once more on a sanitizer build, and
# the music tests once more under ThreadSanitizer ("test").
set -euo pipefail
cd "$(dirname "$0")"

packages=(
  build-essential cmake ninja-build pkg-config
  libsdl2-dev libx11-dev libpng-dev libvorbis-dev libcairo2-dev libfreetype-dev fonts-dejavu-core
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev xvfb xdotool x11-apps
  sound-theme-freedesktop alsa-utils
  desktop-file-utils appstream man-db dpkg-dev lintian
)

install_missing() {
  local missing=()
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo=sudo
  $sudo apt-get update
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
}

build() {  # build-dir, extra cmake arguments...
  local dir=$1
  shift
  cmake -S . -B "$dir" -G Ninja "$@"
  cmake --build "$dir" -j2
}

# The busy tests two at a time, then the end-to-end ones, which mostly wait on an X server and
# the game, four at a time. A label regex in $2 leaves more out.
run_tests() {  # build-dir, labels left out, extra ctest arguments...
  local dir=$1 skip=$2
  shift 2
  ctest --test-dir "$dir" -j2 --output-on-failure -LE "^(e2e|$skip)\$" "$@"
  ctest --test-dir "$dir" -j4 --output-on-failure -L '^e2e$' "$@"
}

case "${1:-}" in
  play)
    install_missing
    build build -DCMAKE_BUILD_TYPE=Release -DGYROTIDE_TESTS=OFF -DGYROTIDE_BENCH=OFF
    cd build && exec ./gyrotide
    ;;
  test)
    install_missing
    build build -DCMAKE_BUILD_TYPE=Release
    run_tests build e2e
    build build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGYROTIDE_SANITIZE=ON -DGYROTIDE_BENCH=OFF
    # The package is the same whatever the build.
    ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 run_tests build-asan install
    # The music's two threads (and the mixer they share) under ThreadSanitizer.
    cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGYROTIDE_TSAN=ON -DGYROTIDE_BENCH=OFF
    cmake --build build-tsan -j2 --target gyrotide_thread_tests
    TSAN_OPTIONS=halt_on_error=1 ctest --test-dir build-tsan -j2 --output-on-failure -R '^(Music|AudioMixer)'
    ;;
  *)
    echo "usage: $0 play|test" >&2
    exit 2
    ;;
esac
