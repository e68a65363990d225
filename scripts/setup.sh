#!/usr/bin/env bash
# Installs everything building, testing and running need on Debian 12, and makes
# the project's Wine prefix (not with --packages-only). Safe to run again: it only does what is missing.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"

packages=(g++-mingw-w64-i686-posix mingw-w64-i686-dev cmake ninja-build g++ clang libclang-rt-14-dev
          googletest wine wine32:i386 xvfb x11-utils imagemagick fonts-wqy-microhei python3 file)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
# SQLite's source comes through npm; a machine whose Node.js came with its own npm keeps that one.
command -v npm >/dev/null || missing+=(npm)
if [ ${#missing[@]} -gt 0 ]; then
    echo "setup: installing ${missing[*]}"
    SUDO=; [ "$(id -u)" -eq 0 ] || SUDO=sudo
    dpkg --print-foreign-architectures | grep -qx i386 || $SUDO dpkg --add-architecture i386
    $SUDO apt-get update -q
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

"$(dirname "${BASH_SOURCE[0]}")/fetch_sqlite.sh"

if [ "${1:-}" != "--packages-only" ] && [ ! -f "$WINEPREFIX/.brindor-ready" ]; then
    echo "setup: creating Wine prefix $WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    # mshtml= keeps wineboot from asking to download an HTML engine.
    WINEDLLOVERRIDES="mscoree=;mshtml=" "$WINE" wineboot -i >/dev/null 2>&1 || true
    "$WINESERVER" -w
    # Chinese captions need a CJK font linked behind the default UI faces.
    reg=$(mktemp --suffix=.reg)
    python3 - "$reg" <<'PY'
import sys
link = "wqy-microhei.ttc,WenQuanYi Micro Hei\0\0".encode("utf-16-le")
hexdata = ",".join("%02x" % b for b in link)
faces = ["Tahoma", "MS Shell Dlg", "MS Shell Dlg 2", "Microsoft Sans Serif"]
text = "Windows Registry Editor Version 5.00\r\n\r\n"
text += "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontLink\\SystemLink]\r\n"
for f in faces:
    text += '"%s"=hex(7):%s\r\n' % (f, hexdata)
open(sys.argv[1], "wb").write(b"\xff\xfe" + text.encode("utf-16-le"))
PY
    "$WINE" regedit "$reg" >/dev/null 2>&1
    "$WINESERVER" -w
    rm -f "$reg"
    touch "$WINEPREFIX/.brindor-ready"
fi

# The tests' display has no window manager: Wine would wait 2 s for one at every window it hides.
if [ "${1:-}" != "--packages-only" ] && [ ! -f "$WINEPREFIX/.brindor-unmanaged" ]; then
    "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    "$WINESERVER" -w
    touch "$WINEPREFIX/.brindor-unmanaged"
fi
