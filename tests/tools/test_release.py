import os
import struct
import subprocess
import tempfile
import unittest
import zipfile
import zlib

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))


class ReleaseTest(unittest.TestCase):
    def test_refuses_without_all_three_hosts(self):
        for options in ([], ["-DBRINDOR_INTERFACE_HOST=a", "-DBRINDOR_WEB_HOST=b"]):
            run = subprocess.run(["bash", "scripts/release.sh", *options], cwd=ROOT, capture_output=True, text=True)
            self.assertEqual(run.returncode, 2, run.stderr)
            self.assertIn("--standin", run.stderr)
            self.assertEqual(len(run.stderr.strip().splitlines()), 1)

    def test_guide_name_is_gbk_for_the_oem_code_page_with_a_unicode_path_for_others(self):
        with tempfile.TemporaryDirectory() as folder:
            program, target = os.path.join(folder, "p.exe"), os.path.join(folder, "t.zip")
            open(program, "wb").write(b"MZ")
            subprocess.run(["python3", "scripts/release_zip.py", program, target, "9.9"], cwd=ROOT, check=True)
            with zipfile.ZipFile(target) as archive:
                guide = [info for info in archive.infolist() if info.filename.endswith(".txt")][0]
            name = "Brindor-9.9/使用说明.txt"
            # Without the UTF-8 flag the reader decodes as cp437: undo that to get the stored bytes.
            self.assertEqual(guide.flag_bits & 0x800, 0)
            self.assertEqual(guide.filename.encode("cp437"), name.encode("gbk"))
            self.assertEqual(guide.create_system, 0)
            field, size, version, crc = struct.unpack("<HHBI", guide.extra[:9])
            self.assertEqual((field, size, version), (0x7075, len(guide.extra) - 4, 1))
            self.assertEqual(crc, zlib.crc32(name.encode("gbk")))
            self.assertEqual(guide.extra[9:].decode("utf-8"), name)


if __name__ == "__main__":
    unittest.main()
