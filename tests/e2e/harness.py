"""End-to-end sessions: Xvfb, one persistent wineserver, the stand-in service, the driver and the program.

A scenario either uses `E2ESession` as a context manager or derives from `E2ETestCase`, which shares one
environment (display, wineserver, stand-in) per test class and gives every test a fresh program.
The parts live in modules of their own; this one gathers their public names.
"""

from driver_client import Driver, DriverError
from e2e_testcase import E2ETestCase, temporary_text_file
from environment import E2EEnvironment, clear_wine_cookies
from locations import (BUILD, DIALOG_PROBE, DRIVER, FIXTURE, MAIN_CAPTION, PROGRAM, REPO, RUNTIME_PROBE,
                       SCREENSHOTS, SIGNIN_CAPTION, STANDIN, WINE, WINESERVER, cache_value, service_port,
                       windows_path, wine_environment)
from processes import HarnessError
from session import ControlInfo, Column, E2ESession, MessageBox, Probe
from standin_client import Standin

__all__ = [
    "BUILD", "DIALOG_PROBE", "DRIVER", "FIXTURE", "MAIN_CAPTION", "PROGRAM", "REPO", "RUNTIME_PROBE",
    "SCREENSHOTS", "SIGNIN_CAPTION", "STANDIN", "WINE", "WINESERVER", "Column", "ControlInfo", "Driver",
    "DriverError", "E2EEnvironment", "E2ESession", "E2ETestCase", "HarnessError", "MessageBox", "Probe",
    "Standin", "cache_value", "clear_wine_cookies", "service_port", "temporary_text_file", "windows_path",
    "wine_environment",
]
