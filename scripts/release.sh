#!/usr/bin/env bash
# Builds the release: dist/Brindor-<version>-win32.zip with the stripped program, the user guide
# (使用说明.txt) and the licence, from a build tree of its own (build/release).
#
#   bash scripts/release.sh [-DBRINDOR_INTERFACE_HOST=host -DBRINDOR_WEB_HOST=host -DBRINDOR_NOTICE_HOST=host]
#
# The service hosts are build constants: options given here reach CMake; the tree keeps them for the
# next release. Without any, the release talks to the stand-in service on loopback, and says so.
set -euo pipefail
here=$(dirname "${BASH_SOURCE[0]}")
"$here/setup.sh" --packages-only
source "$here/env.sh"
cd "$BRINDOR_ROOT"

cmake --preset win32 -B build/release "$@" >/dev/null
cmake --build build/release -j "${BRINDOR_JOBS:-2}" --target brindor
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:[A-Z]*=//p' build/release/CMakeCache.txt)
hosts=$(sed -n 's/^BRINDOR_\(INTERFACE\|WEB\|NOTICE\)_HOST:[A-Z]*=//p' build/release/CMakeCache.txt | sort -u)
if grep -q '^127\.' <<<"$hosts"; then
    echo "release: the service hosts are the stand-in's ($(tr '\n' ' ' <<<"$hosts")); set them with" \
         "-DBRINDOR_INTERFACE_HOST=... -DBRINDOR_WEB_HOST=... -DBRINDOR_NOTICE_HOST=..." >&2
fi

stage=build/release/stage
rm -rf "$stage"
mkdir -p "$stage" dist
i686-w64-mingw32-strip -o "$stage/brindor.exe" build/release/src/app/brindor.exe
zip="dist/Brindor-$version-win32.zip"
# Texts for Notepad: CR LF line ends, the guide in UTF-8 with its signature.
python3 - "$stage" "$zip" "$version" <<'PY'
import sys, zipfile
from pathlib import Path
stage, target, version = Path(sys.argv[1]), Path(sys.argv[2]), sys.argv[3]
guide = Path("packaging/使用说明.txt").read_text(encoding="utf-8").replace("@VERSION@", version)
licence = Path("LICENSE").read_text(encoding="utf-8")
files = {
    "brindor.exe": (stage / "brindor.exe").read_bytes(),
    "使用说明.txt": b"\xef\xbb\xbf" + guide.replace("\n", "\r\n").encode("utf-8"),
    "LICENSE.txt": licence.replace("\n", "\r\n").encode("utf-8"),
}
folder = f"Brindor-{version}"
target.unlink(missing_ok=True)
with zipfile.ZipFile(target, "w", zipfile.ZIP_DEFLATED) as archive:
    for name, data in files.items():
        archive.writestr(zipfile.ZipInfo(f"{folder}/{name}", date_time=(2026, 1, 1, 0, 0, 0)), data,
                         compress_type=zipfile.ZIP_DEFLATED)
PY
echo "$zip"
