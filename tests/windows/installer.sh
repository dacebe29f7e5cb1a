#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# What a Windows user installs, tried under Wine in a Wine of its own:
#  - the zip's programs answer --version where they are unpacked;
#  - the installer runs silently (/S) for all users, into Program Files, and again
#    for the current user (/S /CurrentUser): each time every file of the zip is in
#    place, the installed korvane.exe answers --version, the Start menu entry and the
#    entry in the list of programs are there; and the uninstaller named in that entry
#    removes every file, the folder, the Start menu entry and the entry itself.
#
# usage: installer.sh ZIP INSTALLER WORK-FOLDER
set -eu
zip_file=$(realpath "$1")
installer=$(realpath "$2")
work=$3
version=$(basename "$zip_file" | sed -n 's/^korvane-\(.*\)-windows-x64\.zip$/\1/p')

fail() {
  printf "FAILED: %s\n" "$*" >&2
  exit 1
}

rm -rf "$work"
mkdir -p "$work"
work=$(realpath "$work")
export WINEPREFIX="$work/wineprefix" WINEDEBUG=-all LC_ALL=C.UTF-8
unset DISPLAY
trap 'wineserver -k 2>/dev/null || true' EXIT
wineboot -i >"$work/wineboot.log" 2>&1 || fail "wineboot could not make the Wine prefix"

answers_version() {
  answer=$(wine "$1" --version 2>/dev/null | tr -d '\r' | tail -n 1)
  [ "$answer" = "$2 $version" ] || fail "$1 --version answered \"$answer\", not \"$2 $version\""
}

(cd "$work" && unzip -q "$zip_file")
unpacked="$work/korvane-$version-windows-x64"
answers_version "$unpacked/korvane.exe" korvane
answers_version "$unpacked/korvane-cli.exe" korvane-cli
files=$(cd "$unpacked" && ls)

key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Korvane'
value() { wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$2 *REG_[A-Z_]* *//p"; }

# $1: the mode's name; $2: the key of the list of programs; $3: the Start menu folder;
# then the installer's arguments.
install_and_remove() {
  mode=$1 key=$2 menu=$3
  shift 3
  wine "$installer" "$@" || fail "$mode: the installer ended with status $?"
  wineserver -w
  location=$(value "$key" InstallLocation)
  [ -n "$location" ] || fail "$mode: no entry $key in the list of programs"
  folder=$(winepath -u "$location")
  for file in $files Uninstall.exe; do
    [ -f "$folder/$file" ] || fail "$mode: $file is not in $location"
  done
  answers_version "$folder/korvane.exe" korvane
  [ -f "$menu/Korvane.lnk" ] || fail "$mode: no Start menu entry in $menu"

  uninstall=$(value "$key" QuietUninstallString)
  [ -n "$uninstall" ] || fail "$mode: the entry names no quiet uninstaller"
  # The uninstaller runs a copy of itself and ends; the copy removes the files.
  eval "wine $uninstall" || fail "$mode: the uninstaller ended with status $?"
  wineserver -w
  [ ! -e "$folder" ] || fail "$mode: the uninstaller left $(ls -A "$folder" | tr '\n' ' ')in $location"
  [ ! -e "$menu/Korvane.lnk" ] || fail "$mode: the uninstaller left the Start menu entry"
  [ -z "$(value "$key" DisplayName)" ] || fail "$mode: the uninstaller left the entry in the list of programs"
  printf "%s: installed into %s, answered, and removed without a trace\n" "$mode" "$location"
}

c=$(winepath -u 'C:\')
install_and_remove "For all users" "$key" "$c/ProgramData/Microsoft/Windows/Start Menu/Programs" /S
user_menu=$(winepath -u "$(wine cmd /c 'echo %APPDATA%' 2>/dev/null | tr -d '\r')")/Microsoft/Windows/Start\ Menu/Programs
install_and_remove "For the current user" "HKCU${key#HKLM}" "$user_menu" /S /CurrentUser
