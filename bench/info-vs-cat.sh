#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Measures `korvane-cli info --json` over a folder of styles against `cat` of the same
# files, whole commands side by side with hyperfine, and prints the ratio:
#
#   bench/info-vs-cat.sh FOLDER [BUILD_DIR] [RUNS]      (BUILD_DIR: build)
#
# Both read every style of FOLDER and its subfolders (*.sty, *.prs, *.sst, *.bcs, in
# any case), in one process: `bench/info-vs-cat.sh ../shared/corpus` times the corpus. The companion
# gets a fresh HOME and XDG_CONFIG_HOME, so no user settings are read. A file that does
# not load still counts: its error line is part of the work. Needs hyperfine
# (Debian: apt install hyperfine).
set -euo pipefail

folder=${1:?usage: bench/info-vs-cat.sh FOLDER [BUILD_DIR] [RUNS]}
build=$(realpath "${2:-build}")
runs=${3:-40}
cli=$build/src/cli/korvane-cli
mapfile -t styles < <(find -L "$folder" -type f \( -iname '*.sty' -o -iname '*.prs' -o -iname '*.sst' \
  -o -iname '*.bcs' \) | LC_ALL=C sort)
[ ${#styles[@]} -gt 0 ] || { echo "no style files in $folder" >&2; exit 2; }
[ -x "$cli" ] || { echo "no $cli: build korvane-cli first" >&2; exit 2; }

home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export HOME=$home XDG_CONFIG_HOME=$home/.config
bytes=$(cat "${styles[@]}" | wc -c)
echo "${#styles[@]} styles, $bytes bytes"

# Each command once by name in the table, its file list through xargs-free quoting.
quoted=$(printf '%q ' "${styles[@]}")
hyperfine -N --warmup 5 --runs "$runs" --ignore-failure --export-json "$home/times.json" \
    -n "info --json" "$cli info --json $quoted" -n cat "cat $quoted" >&2
python3 - "$home/times.json" <<'PY'
import json, sys
results = {r["command"]: r for r in json.load(open(sys.argv[1]))["results"]}
info, cat = results["info --json"], results["cat"]
print(f"info --json: {info['median'] * 1000:.1f} ms (median), cat: {cat['median'] * 1000:.1f} ms, "
      f"ratio {info['median'] / cat['median']:.2f}")
PY
