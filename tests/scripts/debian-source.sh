#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# scripts/debian-source makes its apt configuration from the machine's sources, here a
# made-up machine's (APT_CONFIG names them): each deb entry gives one deb-src entry,
# options and all, entries that are deb-src already give none, and apt reads what it
# wrote. Nothing is fetched (--print-uris), and the machine's own apt configuration stays
# as it was.
# usage: debian-source.sh SOURCE-DIR
set -eu
source_dir=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

machine() { ls -la /etc/apt/sources.list.d; find /etc/apt -type f -exec sha256sum {} + 2>/dev/null | sort; }
before=$(machine)

mkdir -p "$tmp/etc/sources.list.d" "$tmp/home"
cat >"$tmp/etc/sources.list" <<'END'
# a comment
deb [arch=amd64 signed-by=/usr/share/keyrings/a.gpg] http://list.test/debian bookworm main contrib
deb-src http://list.test/debian bookworm main
END
echo 'deb http://other.test/debian bookworm main' >"$tmp/etc/sources.list.d/other.list"
cat >"$tmp/etc/sources.list.d/machine.sources" <<'END'
# Debian, as a fresh machine has it

Types: deb
URIs: http://mirror.test/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/a.gpg

types: deb deb-src
URIs: http://security.test/debian-security
Suites: bookworm-security
Components: main

Types: deb-src
URIs: http://sources.test/debian
Suites: bookworm
Components: main
END
printf 'Dir::Etc::SourceList "%s";\nDir::Etc::SourceParts "%s";\n' \
  "$tmp/etc/sources.list" "$tmp/etc/sources.list.d" >"$tmp/apt.conf"

uris=$(APT_CONFIG="$tmp/apt.conf" HOME="$tmp/home" KORVANE_CACHE="$tmp/cache" \
  "$source_dir/scripts/debian-source" --apt-get --print-uris update) || fail "apt-get refused the configuration"

expected_list='deb-src [arch=amd64 signed-by=/usr/share/keyrings/a.gpg] http://list.test/debian bookworm main contrib
deb-src http://other.test/debian bookworm main'
[ "$(cat "$tmp/cache/apt/deb-src.list")" = "$expected_list" ] ||
  fail "one-line entries: $(cat "$tmp/cache/apt/deb-src.list")"
expected_sources='Types: deb-src
URIs: http://mirror.test/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/a.gpg

Types: deb-src
URIs: http://security.test/debian-security
Suites: bookworm-security
Components: main'
[ "$(cat "$tmp/cache/apt/deb-src.d/deb-src.sources")" = "$expected_sources" ] ||
  fail "deb822 entries: $(cat "$tmp/cache/apt/deb-src.d/deb-src.sources")"

# One source index per suite and component, and no index of binary packages.
indexes=$(echo "$uris" | sed -n "s|^'\([^']*/source/Sources\)[.a-z0-9]*'.*|\1|p" | sort | tr '\n' ' ')
[ "$indexes" = "http://list.test/debian/dists/bookworm/contrib/source/Sources \
http://list.test/debian/dists/bookworm/main/source/Sources \
http://mirror.test/debian/dists/bookworm-updates/main/source/Sources \
http://mirror.test/debian/dists/bookworm/main/source/Sources \
http://other.test/debian/dists/bookworm/main/source/Sources \
http://security.test/debian-security/dists/bookworm-security/main/source/Sources " ] || fail "indexes: $uris"
echo "$uris" | grep -q '/Packages' && fail "binary indexes: $uris"

[ "$(machine)" = "$before" ] || fail "the machine's apt configuration changed"
echo "debian-source: $(echo "$uris" | wc -l) index files, the machine's apt untouched"
