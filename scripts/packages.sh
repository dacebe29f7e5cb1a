# SPDX-License-Identifier: GPL-3.0-or-later
# shellcheck shell=bash disable=SC2034  # sourced: the lists are read by the scripts
# Debian packages that building, testing and running Korvane need. Sourced by the
# scripts; installs only what is missing.

# What building, installing and running the editor and korvane-cli need (scripts/run,
# scripts/package): the compiler and build tools, Qt, the synthesizer's library (found
# by pkg-config) and a General MIDI SoundFont for Play, RtMidi for the MIDI ports (it
# brings ALSA's and JACK's development files, which pkg-config asks for beside it), the
# DejaVu fonts the windows are drawn with, and help2man, which makes the manual pages of
# every installation.
KORVANE_PACKAGES=(
  g++ cmake ninja-build
  qt6-base-dev qt6-qpa-plugins fonts-dejavu-core
  pkg-config libfluidsynth-dev timgm6mb-soundfont
  librtmidi-dev
  help2man
)

# What only the tests need (scripts/test, besides the above): GoogleTest and Google
# Benchmark, clang with its sanitizer runtimes, a virtual display, the desktop entry's
# check, the PulseAudio daemon of the test's own through which the editor's Play is
# heard, and the JACK server of the test's own through which korvane-cli is played as
# from a keyboard (its question about realtime priority keeps its answer, no, unasked).
KORVANE_TEST_PACKAGES=(
  libgtest-dev libbenchmark-dev
  clang libclang-rt-14-dev
  xvfb xauth
  desktop-file-utils
  pulseaudio pulseaudio-utils
  jackd2
)

# The parts without Qt built for 64-bit Windows and tested under Wine (scripts/test):
# the MinGW-w64 cross compiler, GoogleTest's sources to build for it, and Wine.
KORVANE_WINDOWS_PACKAGES=(g++-mingw-w64-x86-64-posix mingw-w64 googletest wine wine64)

# The editor for Windows. Qt for Windows (scripts/windows-qt) is built from Debian's own
# qt6-base source: dpkg-dev unpacks it, and Debian's Qt tools for Linux serve as the host
# tools of the cross build. The installer is made by NSIS's makensis, which runs on
# Linux, and the zip by zip. The editor's start under Wine is driven by xdotool and
# read through xclip (a screen of a failed start is kept with xwd, from x11-apps); the
# zip is tried after unzip.
KORVANE_WINDOWS_QT_PACKAGES=(dpkg-dev qt6-base-dev qt6-base-dev-tools perl nsis zip unzip xdotool xclip x11-apps)

# scripts/package: dpkg-shlibdeps works out the package's dependencies, lintian checks
# the package as Debian does.
KORVANE_PACKAGE_PACKAGES=(dpkg-dev lintian)

# Only bench/startup.sh needs these: it finds the shown window with xdotool and sees its
# first paint with xwd (x11-apps). The icons in res/ were rendered with rsvg-convert
# (librsvg2-bin), which no build needs.
KORVANE_BENCH_PACKAGES=(xdotool x11-apps)

korvane_installed() {
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"
}

korvane_install_packages() {
  local missing=()
  local package
  for package in "$@"; do
    korvane_installed "$package" || missing+=("$package")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update
  # Through env: sudo would drop a setting put before it, and a package would ask.
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
}
