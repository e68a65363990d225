"""Writes the release zip: the program, the guide and the licence in a folder Brindor-<version>.

Names are stored in GBK without the UTF-8 flag, which is what the zip folder of a Chinese Windows 7
to 11 and 7-Zip read there (the OEM code page), with an Info-ZIP Unicode path field carrying the UTF-8
name for readers on other systems. Texts are for Notepad: CR LF line ends, UTF-8 with its signature.
"""
import struct
import sys
import zipfile
import zlib
from pathlib import Path

MS_DOS = 0  # host system: readers take the name in the OEM code page
UNICODE_PATH_FIELD = 0x7075


class GbkNamedEntry(zipfile.ZipInfo):
    def __init__(self, name):
        super().__init__(name, date_time=(2026, 1, 1, 0, 0, 0))
        self.create_system = MS_DOS
        self.compress_type = zipfile.ZIP_DEFLATED
        raw = name.encode("gbk")
        if raw != name.encode("utf-8"):
            unicode_name = name.encode("utf-8")
            data = struct.pack("<BI", 1, zlib.crc32(raw)) + unicode_name
            self.extra = struct.pack("<HH", UNICODE_PATH_FIELD, len(data)) + data

    def _encodeFilenameFlags(self):
        return self.filename.encode("gbk"), self.flag_bits & ~0x800


def main():
    program, target, version = Path(sys.argv[1]), Path(sys.argv[2]), sys.argv[3]
    guide = Path("docs/使用说明.txt").read_text(encoding="utf-8").replace("@VERSION@", version)
    licence = Path("LICENSE").read_text(encoding="utf-8")
    files = {
        "brindor.exe": program.read_bytes(),
        "使用说明.txt": b"\xef\xbb\xbf" + guide.replace("\n", "\r\n").encode("utf-8"),
        "LICENSE.txt": licence.replace("\n", "\r\n").encode("utf-8"),
    }
    target.unlink(missing_ok=True)
    with zipfile.ZipFile(target, "w", zipfile.ZIP_DEFLATED) as archive:
        for name, data in files.items():
            archive.writestr(GbkNamedEntry(f"Brindor-{version}/{name}"), data)


if __name__ == "__main__":
    main()
