#!/usr/bin/env bash
# Puts SQLite's amalgamation (sqlite3.c, sqlite3.h) into build/sqlite3, taken from a pinned npm
# package that ships it, and checks it. Nothing of it goes into the repository.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
package=better-sqlite3@12.4.1
source_sha256=90b7189566ea710ee18361b25d893f5cda3fcf43033223a16384762f53e99a85
header_sha256=abd1514e0351f79393d1be882830afdb40a8099e8257f311f0bfdf8486f11bea
target=$root/build/sqlite3

matches() { [ -f "$1" ] && [ "$(sha256sum "$1" | cut -d' ' -f1)" = "$2" ]; }

if matches "$target/sqlite3.c" "$source_sha256" && matches "$target/sqlite3.h" "$header_sha256"; then
    exit 0
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
echo "setup: fetching SQLite from npm ($package)"
(cd "$work" && npm pack --silent "$package" >/dev/null)
tar -xzf "$work"/*.tgz -C "$work" package/deps/sqlite3/sqlite3.c package/deps/sqlite3/sqlite3.h
for f in sqlite3.c:$source_sha256 sqlite3.h:$header_sha256; do
    if ! matches "$work/package/deps/sqlite3/${f%%:*}" "${f#*:}"; then
        echo "setup: ${f%%:*} from $package does not have the expected SHA-256" >&2
        exit 1
    fi
done
mkdir -p "$target"
cp "$work"/package/deps/sqlite3/sqlite3.[ch] "$target"/
