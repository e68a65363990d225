#!/usr/bin/env bash
# Builds the release: dist/Brindor-<version>-win32.zip with the stripped program, the user guide
# (docs/使用说明.txt, as 使用说明.txt) and the licence, from a build tree of its own (build/release).
#
#   bash scripts/release.sh -DBRINDOR_INTERFACE_HOST=host -DBRINDOR_WEB_HOST=host -DBRINDOR_NOTICE_HOST=host
#   bash scripts/release.sh --standin      # talks to the stand-in on loopback: Brindor-<version>-win32-standin.zip
#   BRINDOR_PORT=23456 bash scripts/release.sh --standin   # ... on that port
#
# The service hosts are build constants and must be named every time: a zip that talks to loopback
# under a real release's name is too easy to hand out by mistake.
set -euo pipefail
here=$(dirname "${BASH_SOURCE[0]}")

standin=
options=()
for arg in "$@"; do
    case "$arg" in
    --standin) standin=1 ;;
    *) options+=("$arg") ;;
    esac
done
if [ -z "$standin" ]; then
    for host in INTERFACE WEB NOTICE; do
        if ! printf '%s\n' "${options[@]}" | grep -q "^-DBRINDOR_${host}_HOST=."; then
            echo "release: name all three service hosts (-DBRINDOR_INTERFACE_HOST=... -DBRINDOR_WEB_HOST=..." \
                 "-DBRINDOR_NOTICE_HOST=...), or ask for a stand-in build with --standin" >&2
            exit 2
        fi
    done
else
    # The stand-in's port, whatever an earlier release left in the tree.
    port=${BRINDOR_PORT:-18080}
    if ! [[ "$port" =~ ^[0-9]+$ ]] || [ "$port" -lt 1 ] || [ "$port" -gt 65535 ]; then
        echo "release: BRINDOR_PORT must be a port number (1 to 65535), not '$port'" >&2
        exit 2
    fi
    options+=(-DBRINDOR_INTERFACE_HOST=127.0.0.1:$port -DBRINDOR_WEB_HOST=127.0.0.1:$port
              -DBRINDOR_NOTICE_HOST=127.0.0.1:$port)
fi

"$here/setup.sh" --packages-only
source "$here/env.sh"
cd "$BRINDOR_ROOT"

cmake --preset win32 -B build/release "${options[@]}" >/dev/null
cmake --build build/release -j "${BRINDOR_JOBS:-2}" --target brindor
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:[A-Z]*=//p' build/release/CMakeCache.txt)

stage=build/release/stage
rm -rf "$stage"
mkdir -p "$stage" dist
i686-w64-mingw32-strip -o "$stage/brindor.exe" build/release/src/app/brindor.exe
zip="dist/Brindor-$version-win32${standin:+-standin}.zip"
python3 "$here/release_zip.py" "$stage/brindor.exe" "$zip" "$version"
echo "$zip"
