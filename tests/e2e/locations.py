"""Where the build, the Wine commands and the stand-in are, and the program's window captions."""

import os
import re
from pathlib import Path

REPO = Path(os.environ.get("BRINDOR_ROOT") or Path(__file__).resolve().parents[2])
BUILD = Path(os.environ.get("BRINDOR_BUILD_DIR") or REPO / "build" / "win32")
DRIVER = BUILD / "tests" / "e2e" / "driver" / "brindor_driver.exe"
FIXTURE = BUILD / "tests" / "e2e" / "driver" / "driver_fixture.exe"
PROGRAM = BUILD / "src" / "app" / "brindor.exe"
RUNTIME_PROBE = BUILD / "tests" / "runtime" / "win" / "runtime_probe.exe"
DIALOG_PROBE = BUILD / "tests" / "runtime" / "win" / "dialog_probe.exe"
STANDIN = REPO / "tools" / "standin" / "serve.py"
SCREENSHOTS = BUILD / "tests" / "e2e" / "screenshots"

MAIN_CAPTION = "Brindor"
SIGNIN_CAPTION = "迅雷离线登陆"


def cache_value(name, build=BUILD):
    """A value of the build tree's CMake cache, or None."""
    try:
        text = (Path(build) / "CMakeCache.txt").read_text(errors="replace")
    except OSError:
        return None
    match = re.search(rf"^{re.escape(name)}:[A-Z]+=(.*)$", text, re.M)
    return match.group(1) if match else None


def service_port(build=BUILD):
    """The stand-in's port: the one the build's interface host names (the three hosts share it)."""
    host = cache_value("BRINDOR_INTERFACE_HOST", build) or "127.0.0.1:18080"
    _, _, port = host.rpartition(":")
    return int(port) if port.isdigit() else 80


def windows_path(path):
    return "Z:" + str(Path(path).resolve()).replace("/", "\\")


def wine_environment():
    env = dict(os.environ)
    env["WINEPREFIX"] = os.environ.get("BRINDOR_WINEPREFIX") or str(REPO / "build" / "wineprefix")
    env["WINEDEBUG"] = "-all"
    env["WINEDLLOVERRIDES"] = "mscoree="
    env["WINEARCH"] = "win32"
    return env


def _command(*names):
    for name in names:
        for folder in os.environ.get("PATH", "").split(os.pathsep) + ["/usr/lib/wine"]:
            candidate = Path(folder) / name
            if candidate.is_file() and os.access(candidate, os.X_OK):
                return str(candidate)
    return names[-1]


WINE = _command("wine-stable", "wine")
WINESERVER = _command("wineserver-stable", "wineserver")
