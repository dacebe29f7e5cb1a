#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# mount FOLDER: a 64 KB tmpfs at FOLDER, marked for the tests, where this runs as root
# and the system allows it; otherwise nothing, and the tests that need it say so.
# unmount FOLDER: undoes it.
set -u
folder=$2
case $1 in
mount)
  mkdir -p "$folder"
  if [ "$(id -u)" = 0 ] && ! mountpoint -q "$folder" && mount -t tmpfs -o size=64k,mode=0777 tmpfs "$folder" 2>/dev/null; then
    touch "$folder/korvane-full-disk"
  fi
  ;;
unmount)
  if mountpoint -q "$folder"; then umount "$folder"; fi
  ;;
esac
exit 0
