#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows editor started for real under Wine on a virtual display, as a user
# starts it, and held against the Linux editor doing the same:
#  - `korvane.exe First.sty` shows its main window, with the style's title in the form;
#  - a second `korvane.exe Second.sty` hands its file to the first copy and ends;
#  - a new title typed into the form and saved writes the same files, byte for byte,
#    as the Linux editor writes;
#  - File > Exit ends it, and the user's key in Wine's registry then holds the window's
#    placement and both files in the recent-file list;
#  - started again, the editor's Play goes to the system's MIDI synthesizer: where
#    Wine offers no MIDI output (as korvane-cli.exe ports lists them), one box says that
#    none could be opened, and the editor runs on.
# Keys are typed with xdotool; the form's and the box's text are read through the
# clipboard.
#
# usage: editor-start.sh KORVANE.EXE LINUX-KORVANE WRITE-START-STYLES WORK-FOLDER KORVANE-CLI.EXE
set -eu
windows_program=$1
linux_program=$2
write_styles=$3
work=$4
windows_cli=$5

rm -rf "$work"
mkdir -p "$work/windows" "$work/linux" "$work/home/.config" "$work/runtime"
work=$(realpath "$work")
chmod 700 "$work/runtime"
"$write_styles" "$work/windows"
"$write_styles" "$work/linux"

fail() {
  printf "FAILED: %s\n" "$*" >&2
  xwd -root -silent >"$work/screen.xwd" 2>/dev/null && echo "The screen is in $work/screen.xwd" >&2
  exit 1
}

# A display of its own: Xvfb names the free number it took.
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || fail "Xvfb did not start"
DISPLAY=:$(cat "$work/display")
export DISPLAY
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_RUNTIME_DIR="$work/runtime"
export WINEPREFIX="$work/wineprefix" WINEDEBUG=-all LC_ALL=C.UTF-8
unset QT_QPA_PLATFORM
cleanup() {
  wineserver -k 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT
wineboot -i >"$work/wineboot.log" 2>&1 || fail "wineboot could not make the Wine prefix"

title="Korvane - Yamaha Styles bearbeiten"

# The main window once it shows, then focused (there is no window manager to do it).
main_window() {
  for _ in $(seq 600); do
    window=$(xdotool search --onlyvisible --name "^$title\$" 2>/dev/null | head -n 1) || true
    if [ -n "$window" ]; then
      xdotool windowfocus --sync "$window" 2>/dev/null && sleep 1 && echo "$window" && return 0
    fi
    sleep 0.1
  done
  return 1
}

# The visible windows of that title, one a line.
windows_named() {
  xdotool search --onlyvisible --name "^$1\$" 2>/dev/null || true
}

# The text of the focused field, through the clipboard.
field_text() {
  printf '' | xclip -selection clipboard
  xdotool key --delay 50 ctrl+a ctrl+c
  sleep 1
  xclip -o -selection clipboard 2>/dev/null || true
}

# One editor, start to end. $1: windows or linux; the program follows.
scenario() {
  kind=$1
  shift
  folder="$work/$kind"
  if [ "$kind" = windows ]; then
    first=$(winepath -w "$folder/First.sty")
    second=$(winepath -w "$folder/Second.sty")
  else
    first=$folder/First.sty
    second=$folder/Second.sty
  fi
  "$@" "$first" >"$work/$kind-first.log" 2>&1 &
  editor=$!
  window=$(main_window) || fail "$kind: the main window did not show"
  text=$(field_text)
  [ "$text" = "First Title" ] || fail "$kind: the form shows \"$text\", not the style's title \"First Title\""

  # The second start hands its file over and ends at once.
  if ! timeout 60 "$@" "$second" >"$work/$kind-second.log" 2>&1; then
    fail "$kind: the second start did not end well (see $work/$kind-second.log)"
  fi
  kill -0 "$editor" 2>/dev/null || fail "$kind: the first copy ended when the second started"
  sleep 2
  xdotool windowfocus --sync "$window" 2>/dev/null || true
  text=$(field_text)
  [ "$text" = "Second Title" ] || fail "$kind: the first copy shows \"$text\", not the handed-over \"Second Title\""

  xdotool key --delay 50 ctrl+a
  xdotool type --delay 50 "Saved Title"
  xdotool key --delay 50 ctrl+s
  for _ in $(seq 300); do
    ls "$folder" | grep -q '^Saved Title' && break
    sleep 0.1
  done
  sleep 1
  xdotool key --delay 100 alt+f x
  for _ in $(seq 300); do kill -0 "$editor" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$editor" 2>/dev/null && fail "$kind: File > Exit did not end the editor"
  wait "$editor" || fail "$kind: the editor ended with status $?"
}

scenario linux "$linux_program"
scenario windows wine "$windows_program"
wineserver -w

# The same files, byte for byte: the styles as written and the saved one.
diff -r "$work/linux" "$work/windows" || fail "the Windows editor wrote other files than the Linux editor"
ls "$work/windows" | grep -q '^Saved Title' || fail "the save wrote no file named after the new title"

# The user's key, as the registry holds it (Wine writes it to user.reg).
reg="$WINEPREFIX/user.reg"
# Each key's heading there doubles its backslashes.
section() {
  KEY="[Software\\\\Talvenhorn\\\\$title\\\\$1]" awk 'index($0, ENVIRON["KEY"]) == 1 { on = 1; next }
    /^\[/ { on = 0 } on' "$reg"
}
for entry in WindowTop WindowLeft WindowWidth WindowHeight; do
  section Settings | grep -q "^\"$entry\"=dword:" || fail "the registry holds no \"$entry\" in Settings"
done
recent=$(section "Recent File List")
for name in First.sty Second.sty "Saved Title"; do
  echo "$recent" | grep -q "$name" || fail "the recent-file list in the registry lacks $name: $recent"
done

# Play, with the style open. A box's Ctrl+C copies its title, text and buttons.
wine "$windows_cli" ports --json >"$work/ports.json" 2>"$work/ports.err" || fail "korvane-cli.exe ports failed"
wine "$windows_program" "$(winepath -w "$work/windows/First.sty")" >"$work/windows-play.log" 2>&1 &
editor=$!
window=$(main_window) || fail "play: the main window did not show"
xdotool key --delay 50 F5
if grep -q '"outputs": \[\]' "$work/ports.json"; then
  for _ in $(seq 150); do [ -n "$(windows_named Fehler)" ] && break; sleep 0.2; done
  [ -n "$(windows_named Fehler)" ] || fail "play: no box said that Wine has no MIDI output"
  sleep 2
  boxes=$(windows_named Fehler)
  [ "$(echo "$boxes" | wc -l)" -eq 1 ] || fail "play: not one box but $(echo "$boxes" | wc -l)"
  xdotool windowfocus --sync "$boxes" 2>/dev/null || true
  text=$(field_text)
  case "$text" in
    *"No MIDI output could be opened!"*'"Microsoft GS Wavetable Synth"'*) ;;
    *) fail "play: the box says \"$text\"" ;;
  esac
  xdotool key --delay 50 Return
  for _ in $(seq 50); do [ -z "$(windows_named Fehler)" ] && break; sleep 0.2; done
  [ -z "$(windows_named Fehler)" ] || fail "play: the box did not close"
  played="said in one box that Wine has no MIDI output"
else
  sleep 5
  [ -z "$(windows_named Fehler)" ] || fail "play: Wine offers a MIDI output ($(cat "$work/ports.json")), yet a box showed"
  xdotool key --delay 50 F8
  played="played to a MIDI output Wine offers"
fi
kill -0 "$editor" 2>/dev/null || fail "play: the editor ended"
[ -n "$(windows_named "$title")" ] || fail "play: the main window is gone"
xdotool windowfocus --sync "$window" 2>/dev/null || true
xdotool key --delay 100 alt+f x
for _ in $(seq 300); do kill -0 "$editor" 2>/dev/null || break; sleep 0.1; done
kill -0 "$editor" 2>/dev/null && fail "play: File > Exit did not end the editor"
wait "$editor" || fail "play: the editor ended with status $?"
echo "The Windows editor started, took a second start's file, saved as the Linux editor does and kept its settings in the registry; its Play $played."
